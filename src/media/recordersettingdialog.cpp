#include "media/recordersettingdialog.h"

#include "media/recorder.h"
#include "texts/localtext.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit* integerEdit(int minimum, int maximum, int value, QWidget* parent)
{
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setValidator(new QIntValidator(minimum, maximum, edit));
    return edit;
}

// Typing can leave an edit empty or out of range (the validator only blocks what could
// never become valid); such a box is refused here.
bool acceptable(QLineEdit* edit)
{
    QString text = edit->text();
    int position = 0;
    return edit->validator()->validate(text, position) == QValidator::Acceptable;
}

}  // namespace

RecorderSettingDialog::RecorderSettingDialog(Recorder& recorder, const LocalText& text, QWidget* parent)
    : QDialog(parent)
    , m_recorder(recorder)
{
    setWindowTitle(text.read(Text::RecorderSetting));
    auto* layout = new QGridLayout(this);
    m_frameRate = integerEdit(1, 30, 15, this);
    layout->addWidget(new QLabel(text.read(Text::FrameRate), this), 0, 0);
    layout->addWidget(m_frameRate, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("(1--30)"), this), 0, 2);

    m_limitOn = new QCheckBox(text.read(Text::TimerLimit), this);
    m_limitOn->setChecked(true);
    m_seconds = integerEdit(1, 99999, 10, this);
    layout->addWidget(m_limitOn, 1, 0);
    layout->addWidget(m_seconds, 1, 1);
    layout->addWidget(new QLabel(text.read(Text::SecondUnit), this), 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("(1--99999)"), this), 1, 3);
    connect(m_limitOn, &QCheckBox::toggled, m_seconds, &QWidget::setEnabled);

    m_compress = new QPushButton(text.read(Text::Compress), this);
    auto* ok = new QPushButton(text.read(Text::OK), this);
    auto* cancel = new QPushButton(text.read(Text::Cancel), this);
    ok->setDefault(true);
    layout->addWidget(m_compress, 2, 0);
    layout->addWidget(ok, 2, 2);
    layout->addWidget(cancel, 2, 3);
    connect(m_compress, &QPushButton::clicked, this, [this] { m_recorder.chooseCompressor(this); });
    connect(ok, &QPushButton::clicked, this, &RecorderSettingDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int RecorderSettingDialog::frameRate() const
{
    return m_frameRate->text().toInt();
}

std::optional<int> RecorderSettingDialog::timeLimit() const
{
    if (!m_limitOn->isChecked()) {
        return std::nullopt;
    }
    return m_seconds->text().toInt();
}

void RecorderSettingDialog::accept()
{
    // The compressor is settled before the numbers are looked at, also when they are refused.
    if (!m_recorder.takeCompressorChosen()) {
        m_recorder.useDefaultCompressor();
    }
    for (QLineEdit* edit : {m_frameRate, m_seconds}) {
        if (edit->isEnabled() && !acceptable(edit)) {
            QApplication::beep();
            edit->setFocus();
            edit->selectAll();
            return;
        }
    }
    QDialog::accept();
}
