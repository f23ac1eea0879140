#include "platform/fontcolordialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The font chooser lives inside our dialog. Left alone it would take Enter and Esc for
// itself and hide, leaving an empty window; passing the keys up lets our buttons act.
class EmbeddedFontDialog final : public QFontDialog {
public:
    using QFontDialog::QFontDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override { event->ignore(); }
};
}  // namespace

FontColorDialog::FontColorDialog(const std::optional<QFont>& initialFont, const QColor& initialColor,
                                 QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Font"));
    m_fonts = new EmbeddedFontDialog(this);
    m_fonts->setWindowFlags(Qt::Widget);
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_fonts->setSizeGripEnabled(false);  // our dialog has the window's corner
    // Left alone the chooser opens on the first family of its list, not on the default
    // font. Families such as "Arial" are often aliases, and the list shows only real
    // families, so it opens on the family the font resolves to.
    QFont resolved = initialFont.value_or(QApplication::font());
    resolved.setFamily(QFontInfo(resolved).family());
    m_fonts->setCurrentFont(resolved);

    auto* colorLabel = new QLabel(tr("&Colour:"), this);
    m_colorButton = new QPushButton(this);
    colorLabel->setBuddy(m_colorButton);
    connect(m_colorButton, &QPushButton::clicked, this, &FontColorDialog::chooseColor);
    setSelectedColor(initialColor);

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(m_colorButton);
    colorRow->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    // The chooser's own hidden OK button is a default button too; Enter must press ours.
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fonts);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
}

QFont FontColorDialog::selectedFont() const
{
    return m_fonts->currentFont();
}

void FontColorDialog::setSelectedColor(const QColor& color)
{
    m_color = color.isValid() ? color : QColor(Qt::black);
    QPixmap swatch(32, 14);
    swatch.fill(m_color);
    m_colorButton->setIcon(QIcon(swatch));
    m_colorButton->setIconSize(swatch.size());
    m_colorButton->setText(m_color.name().toUpper());
}

void FontColorDialog::chooseColor()
{
    const QColor chosen = QColorDialog::getColor(m_color, this);
    if (chosen.isValid()) {
        setSelectedColor(chosen);
    }
}
