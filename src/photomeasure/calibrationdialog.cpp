#include "photomeasure/calibrationdialog.h"

#include "platform/localtext.h"
#include "platform/prompter.h"
#include "photomeasure/scalecommands.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kDialogTextBuffer = 60;
constexpr int kMessageBuffer = 64;
constexpr int kButtonBuffer = 30;
}  // namespace

CalibrationDialog::CalibrationDialog(const LocalText& text, Prompter& prompter, QWidget* parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_refusal(text.read("EnterDigital", kMessageBuffer, "Please enter digital!"))
{
    setWindowTitle(text.read("TipCalibration", kDialogTextBuffer, "Calibration"));

    auto* label = new QLabel(text.read("EnterActualDistance", kDialogTextBuffer,
                                       "Please enter actual distance (mm)"),
                             this);
    m_distanceBox = new QLineEdit(this);
    m_distanceBox->setObjectName(QStringLiteral("distanceBox"));
    label->setBuddy(m_distanceBox);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(text.read("OK", kButtonBuffer, "OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(text.read("Cancel", kButtonBuffer, "Cancel"),
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
