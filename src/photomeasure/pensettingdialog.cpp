#include "photomeasure/pensettingdialog.h"

#include "measure/linepen.h"
#include "measure/qshapefont.h"
#include "texts/localtext.h"
#include "platform/prompter.h"
#include "photomeasure/linepreview.h"
#include "photomeasure/widthbox.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr int kSmallestLineWidth = 1;
constexpr int kLargestLineWidth = 3;

// In line type order: the button's index is the type it selects.
constexpr TextEntry lineTypeTexts[] = {
    Text::SolidLine, Text::DashLine, Text::DotLine, Text::DashDotLine, Text::DashDotDotLine,
};
}  // namespace

PenSettingDialog::PenSettingDialog(Prompter& prompter, const LocalText& localText, QWidget* parent)
    : QDialog(parent), m_prompter(prompter)
{
    setWindowTitle(localText.read(Text::PenSetting));

    auto* typeGroup = new QGroupBox(localText.read(Text::PenType), this);
    auto* typeLayout = new QVBoxLayout(typeGroup);
    m_lineTypes = new QButtonGroup(this);
    for (int type = 0; type < int(std::size(lineTypeTexts)); ++type) {
        const TextEntry& entry = lineTypeTexts[type];
        auto* button = new QRadioButton(localText.read(entry), typeGroup);
        button->setObjectName(QString::fromLatin1(entry.key.data(), qsizetype(entry.key.size())));
        m_lineTypes->addButton(button, type);
        typeLayout->addWidget(button);
    }
    // Toggled rather than clicked: the arrow keys move the choice too.
    connect(m_lineTypes, &QButtonGroup::idToggled, this, [this](int lineType, bool checked) {
        if (checked) {
            selectLineType(lineType);
        }
    });

    auto* colorGroup = new QGroupBox(localText.read(Text::PenColorLine), this);
    auto* colorButton = new QPushButton(localText.read(Text::PenColor), colorGroup);
    colorButton->setObjectName(QStringLiteral("PenColor"));
    colorButton->setAutoDefault(false);
    connect(colorButton, &QPushButton::clicked, this, &PenSettingDialog::chooseLineColor);
    (new QVBoxLayout(colorGroup))->addWidget(colorButton);

    auto* widthGroup = new QGroupBox(localText.read(Text::PenWidth), this);
    m_widthBox = new WidthBox(kSmallestLineWidth, kLargestLineWidth, widthGroup);
    m_widthBox->setObjectName(QStringLiteral("PenWidthBox"));
    connect(m_widthBox, &WidthBox::textChanged, this, &PenSettingDialog::widthTextChanged);
    (new QVBoxLayout(widthGroup))->addWidget(m_widthBox);

    m_preview = new LinePreview(localText.read(Text::LinePriview), this);
    m_preview->setObjectName(QStringLiteral("LinePriview"));
    m_preview->setMinimumHeight(56);

    auto* fontButton = new QPushButton(localText.read(Text::Font), this);
    fontButton->setObjectName(QStringLiteral("Font"));
    fontButton->setAutoDefault(false);
    connect(fontButton, &QPushButton::clicked, this, &PenSettingDialog::chooseLabelFont);
    auto* okButton = new QPushButton(localText.read(Text::OK), this);
    okButton->setObjectName(QStringLiteral("OK"));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &PenSettingDialog::accept);
    auto* cancelButton = new QPushButton(localText.read(Text::Cancel), this);
    cancelButton->setObjectName(QStringLiteral("Cancel"));
    cancelButton->setAutoDefault(false);
    connect(cancelButton, &QPushButton::clicked, this, &PenSettingDialog::reject);

    auto* rightColumn = new QVBoxLayout;
    rightColumn->addWidget(colorGroup);
    rightColumn->addWidget(widthGroup);
    rightColumn->addStretch(1);
    auto* topRow = new QHBoxLayout;
    topRow->addWidget(typeGroup, 1);
    topRow->addLayout(rightColumn, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(fontButton);
    buttonRow->addStretch(1);
    buttonRow->addWidget(okButton);
    buttonRow->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topRow);
    layout->addWidget(m_preview);
    layout->addLayout(buttonRow);

    setValues(m_values);
}

void PenSettingDialog::setValues(const PenSetting& values)
{
    m_values = values;
    m_handedBack = values;
    // A type no button stands for leaves every button clear.
    m_lineTypes->setExclusive(false);
    for (QAbstractButton* button : m_lineTypes->buttons()) {
        button->setChecked(m_lineTypes->id(button) == values.lineType);
    }
    m_lineTypes->setExclusive(true);
    m_widthBox->setText(QString::number(values.lineWidth));
    updatePreview();
}

QString PenSettingDialog::widthRangeMessage()
{
    return QStringLiteral("Please enter an integer between %1 and %2.").arg(kSmallestLineWidth).arg(kLargestLineWidth);
}

void PenSettingDialog::accept()
{
    const std::optional<int32_t> width = wholeNumber(m_widthBox->text());
    if (!width || *width < kSmallestLineWidth || *width > kLargestLineWidth) {
        m_prompter.message(this, widthRangeMessage(), Prompter::Icon::Warning);
        m_widthBox->setFocus();
        m_widthBox->selectAll();
        return;
    }
    m_values.lineWidth = *width;
    m_handedBack = m_values;
    QDialog::accept();
}

void PenSettingDialog::selectLineType(int lineType)
{
    m_values.lineType = lineType;
    updatePreview();
}

void PenSettingDialog::widthTextChanged(const QString& text)
{
    m_values.lineWidth = wholeNumber(text).value_or(0);
    updatePreview();
}

void PenSettingDialog::chooseLineColor()
{
    const std::optional<QColor> color = m_prompter.chooseColor(this, m_values.lineColor);
    if (color && color->isValid()) {
        m_values.lineColor = QColor::fromRgb(color->rgb());
        updatePreview();
    }
}

void PenSettingDialog::chooseLabelFont()
{
    // The chooser opens on the default font, not on the current label font.
    const std::optional<Prompter::FontChoice> choice =
        m_prompter.chooseFontWithColor(this, std::nullopt, m_values.labelColor);
    if (!choice) {
        return;
    }
    m_values.labelFont = toShapeFont(choice->font, m_values.labelFont);
    if (choice->color.isValid()) {
        m_values.labelColor = QColor::fromRgb(choice->color.rgb());
    }
}

void PenSettingDialog::updatePreview()
{
    m_preview->setPen(m_values.lineType, m_values.lineWidth, m_values.lineColor);
}
