#include "photomeasure/textsettingdialog.h"

#include "measure/linepen.h"
#include "measure/qshapefont.h"
#include "texts/localtext.h"
#include "platform/prompter.h"
#include "photomeasure/textpreview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>

#include <cstdlib>

namespace {
// The length limit counts UTF-16 units, so a paste cut at the limit can end in half of a
// character outside the basic plane; such halves are dropped rather than kept as garbage.
class WholeCharacterValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override
    {
        for (qsizetype i = 0; i < input.size();) {
            const bool pairStarts = input[i].isHighSurrogate() && i + 1 < input.size() && input[i + 1].isLowSurrogate();
            if (pairStarts) {
                i += 2;
            } else if (input[i].isSurrogate()) {
                input.remove(i, 1);
                if (position > i) {
                    --position;
                }
            } else {
                ++i;
            }
        }
        return Acceptable;
    }
};

int characterHeight(const ShapeFont& font)
{
    // Only the size counts here, whichever sign the height is given with.
    return int(std::min<int64_t>(std::abs(int64_t(font.height)), 4096));
}
}  // namespace

TextSettingDialog::TextSettingDialog(Prompter& prompter, const LocalText& localText, QWidget* parent)
    : QDialog(parent), m_prompter(prompter)
{
    setWindowTitle(localText.read(Text::TextSetting));

    auto* prompt = new QLabel(localText.read(Text::EnterText), this);
    prompt->setObjectName(QStringLiteral("EnterText"));
    m_textBox = new QLineEdit(this);
    m_textBox->setObjectName(QStringLiteral("TextBox"));
    m_textBox->setMaxLength(kMaxTextLength);
    m_textBox->setValidator(new WholeCharacterValidator(m_textBox));
    prompt->setBuddy(m_textBox);

    auto* fontButton = new QPushButton(localText.read(Text::Font), this);
    fontButton->setObjectName(QStringLiteral("Font"));
    fontButton->setAutoDefault(false);
    connect(fontButton, &QPushButton::clicked, this, &TextSettingDialog::chooseFont);

    m_preview = new TextPreview(localText.read(Text::Preview), this);
    m_preview->setObjectName(QStringLiteral("Preview"));
    m_preview->setMinimumHeight(72);
    connect(m_textBox, &QLineEdit::textChanged, m_preview, &TextPreview::setText);

    auto* okButton = new QPushButton(localText.read(Text::OK), this);
    okButton->setObjectName(QStringLiteral("OK"));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &TextSettingDialog::accept);
    auto* cancelButton = new QPushButton(localText.read(Text::Cancel), this);
    cancelButton->setObjectName(QStringLiteral("Cancel"));
    cancelButton->setAutoDefault(false);
    connect(cancelButton, &QPushButton::clicked, this, &TextSettingDialog::reject);

    auto* entryRow = new QHBoxLayout;
    entryRow->addWidget(m_textBox, 1);
    entryRow->addWidget(fontButton);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(okButton);
    buttonRow->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(entryRow);
    layout->addWidget(m_preview, 1);
    layout->addLayout(buttonRow);
    resize(360, sizeHint().height());

    showColor(m_values.textColor);
    showFont(m_values.textFont);
}

void TextSettingDialog::setTextColor(const QColor& color)
{
    m_handedBack.textColor = QColor::fromRgb(color.rgb());
    showColor(color);
}

void TextSettingDialog::setTextFont(const ShapeFont& font)
{
    m_handedBack.textFont = font;
    showFont(font);
}

void TextSettingDialog::showColor(const QColor& color)
{
    m_values.textColor = QColor::fromRgb(color.rgb());
    m_preview->setColor(m_values.textColor);
}

void TextSettingDialog::showFont(const ShapeFont& font)
{
    m_values.textFont = font;
    m_font = toQFont(font);
    m_preview->setPreviewFont(m_font, characterHeight(font));
}

void TextSettingDialog::accept()
{
    m_values.text = m_textBox->text();
    m_handedBack = m_values;
    QDialog::accept();
}

void TextSettingDialog::chooseFont()
{
    const std::optional<Prompter::FontChoice> choice =
        m_prompter.chooseFontWithColor(this, m_font, m_values.textColor);
    if (!choice) {
        return;
    }
    showFont(toShapeFont(choice->font, m_values.textFont));
    if (choice->color.isValid()) {
        showColor(choice->color);
    }
}
