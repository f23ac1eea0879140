#include "photomeasure/calibrationdialog.h"

#include "texts/localtext.h"
#include "platform/prompter.h"
#include "photomeasure/scalecommands.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CalibrationDialog::CalibrationDialog(const LocalText& text, Prompter& prompter, QWidget* parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_refusal(text.read(Text::EnterDigital))
{
    setWindowTitle(text.read(Text::TipCalibration));

    auto* label = new QLabel(text.read(Text::EnterActualDistance), this);
    m_distanceBox = new QLineEdit(this);
    m_distanceBox->setObjectName(QStringLiteral("distanceBox"));
    label->setBuddy(m_distanceBox);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(text.read(Text::OK), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(text.read(Text::Cancel),
                                             QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CalibrationDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CalibrationDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_distanceBox);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
    m_distanceBox->setFocus();
}

void CalibrationDialog::accept()
{
    const std::optional<double> millimetres = ScaleCommands::acceptedDistance(m_distanceBox->text());
    if (!millimetres) {
        m_prompter.message(this, m_refusal, Prompter::Icon::None, Prompter::Buttons::Ok);
        return;
    }
    m_actualDistance = *millimetres;
    QDialog::accept();
}
