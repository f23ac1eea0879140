#include "media/timelapsedialog.h"

#include "platform/prompter.h"
#include "texts/localtext.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
// The fields' ranges.
constexpr int kFirstYear = 2008;
constexpr int kLastYear = 2032;
constexpr int kLongestIntervalMinutes = 999;
constexpr int kShortestIntervalSeconds = 3;
constexpr int kMostPictures = 200;
constexpr int kDefaultPictures = 8;

// "MMMM.hh": whole megabytes and the hundredths left over, the hundredths padded with a
// space. Whole numbers throughout: 100 ÷ 1,048,576 as a decimal constant makes 200
// pictures of 1280 × 1024 come out a hundredth short of 750.
QString fileSizeEstimate(int pictureCount, int imageSize)
{
    const qint64 bytes = qint64(pictureCount) * imageSize;
    const qint64 hundredths = bytes * 100 / (1024 * 1024);
    const qint64 megabytes = hundredths / 100;
    return QString::asprintf("%4d.%2d", int(megabytes), int(hundredths - megabytes * 100));
}

QLabel* unitLabel(const char* text, QWidget* parent)
{
    return new QLabel(QString::fromLatin1(text), parent);
}
}  // namespace

TimeLapseDialog::TimeLapseDialog(std::function<void()> requestStill, int imageSize, const LocalText& text,
                                 Prompter& prompter, QWidget* parent)
    : TimeLapseDialog(std::move(requestStill), imageSize, text, prompter, nullptr, parent)
{
}

TimeLapseDialog::TimeLapseDialog(std::function<void()> requestStill, int imageSize, const LocalText& text,
                                 Prompter& prompter, const Clock& clock, QWidget* parent)
    : TimeLapseDialog(std::move(requestStill), imageSize, text, prompter, &clock, parent)
{
}

TimeLapseDialog::TimeLapseDialog(std::function<void()> requestStill, int imageSize, const LocalText& text,
                                 Prompter& prompter, const Clock* clock, QWidget* parent)
    : QDialog(parent),
      m_clock(clock ? *clock : m_systemClock),
      m_prompter(prompter),
      m_startText(text.read(Text::Start)),
      m_stopText(text.read(Text::Stop)),
      m_pastStartText(text.read(Text::SetTimerFail)),
      m_imageSize(imageSize),
      m_timeLapse(m_clock, std::move(requestStill))
{
    setWindowTitle(text.read(Text::CaptureSetting));

    const QDateTime now = m_clock.localNow();
    m_year = addField("startYear", kFirstYear, kLastYear, now.date().year());
    m_month = addField("startMonth", 1, 12, now.date().month());
    m_day = addField("startDay", 1, 31, now.date().day());
    m_hour = addField("startHour", 0, 24, now.time().hour());
    m_minute = addField("startMinute", 0, 60, now.time().minute());
    m_second = addField("startSecond", 0, 60, now.time().second());
    m_intervalMinutes = addField("intervalMinutes", 0, kLongestIntervalMinutes, 0);
    m_intervalSeconds = addField("intervalSeconds", kShortestIntervalSeconds, 60, kShortestIntervalSeconds);
    m_pictureCount = addField("pictureCount", 1, kMostPictures, kDefaultPictures);
    // Typing a count leaves the estimate alone until the user moves on.
    connect(m_pictureCount, &QSpinBox::editingFinished, this, &TimeLapseDialog::refreshEstimate);

    m_completed = new QLineEdit(QStringLiteral("0"), this);
    m_completed->setObjectName(QStringLiteral("completed"));
    m_completed->setReadOnly(true);
    m_fileSize = new QLineEdit(this);
    m_fileSize->setObjectName(QStringLiteral("fileSize"));
    m_fileSize->setReadOnly(true);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(text.read(Text::StartTime), this), 0, 0);
    const std::pair<QSpinBox*, const char*> startFields[] = {
        {m_year, "Yr"}, {m_month, "Mon"}, {m_day, "Day"}, {m_hour, "Hr"}, {m_minute, "Min"}, {m_second, "Sec"},
    };
    int column = 1;
    for (const auto& [field, unit] : startFields) {
        grid->addWidget(field, 0, column++);
        grid->addWidget(unitLabel(unit, this), 0, column++);
    }
    grid->addWidget(new QLabel(text.read(Text::Interval), this), 1, 0);
    grid->addWidget(m_intervalMinutes, 1, 1);
    grid->addWidget(unitLabel("Min", this), 1, 2);
    grid->addWidget(m_intervalSeconds, 1, 3);
    grid->addWidget(unitLabel("Sec", this), 1, 4);
    grid->addWidget(new QLabel(text.read(Text::CaptureCount), this), 2, 0);
    grid->addWidget(m_pictureCount, 2, 1);
    grid->addWidget(new QLabel(text.read(Text::Frame), this), 2, 2);
    grid->addWidget(new QLabel(text.read(Text::Completed), this), 3, 0);
    grid->addWidget(m_completed, 3, 1);
    grid->addWidget(new QLabel(text.read(Text::Frame), this), 3, 2);
    grid->addWidget(new QLabel(text.read(Text::FileSize), this), 4, 0);
    grid->addWidget(m_fileSize, 4, 1);
    grid->addWidget(unitLabel("MB", this), 4, 2);

    m_startStop = new QPushButton(m_startText, this);
    m_startStop->setObjectName(QStringLiteral("startStop"));
    connect(m_startStop, &QPushButton::clicked, this, &TimeLapseDialog::startOrStop);
    auto* cancel = new QPushButton(text.read(Text::Cancel), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &TimeLapseDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_startStop);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(&m_timeLapse, &TimeLapse::completed, this,
            [this](int number) { m_completed->setText(QString::number(number)); });
    connect(&m_timeLapse, &TimeLapse::closeRequested, this, &TimeLapseDialog::closeWhenDone);
    refreshEstimate();
}

TimeLapseDialog::~TimeLapseDialog()
{
    // The worker calls into requestStill until it has ended.
    m_timeLapse.stop();
}

QSpinBox* TimeLapseDialog::addField(const char* name, int minimum, int maximum, int value)
{
    auto* field = new QSpinBox(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setRange(minimum, maximum);
    field->setValue(value);
    field->setButtonSymbols(QAbstractSpinBox::NoButtons);
    return field;
}

void TimeLapseDialog::startOrStop()
{
    if (m_timeLapse.isRunning()) {
        m_completed->setText(QStringLiteral("0"));
        m_timeLapse.stop();
        m_startStop->setText(m_startText);
        return;
    }
    const LapseTime start{m_year->value(),   m_month->value(),  m_day->value(),
                          m_hour->value(),   m_minute->value(), m_second->value()};
    if (start < LapseTime::fromDateTime(m_clock.localNow())) {
        m_prompter.message(this, m_pastStartText, Prompter::Icon::Warning);
        return;
    }
    const std::chrono::milliseconds interval =
        std::chrono::seconds(m_intervalSeconds->value()) + std::chrono::minutes(m_intervalMinutes->value());
    if (m_timeLapse.start(start, interval, m_pictureCount->value())) {
        m_startStop->setText(m_stopText);
    }
}

void TimeLapseDialog::refreshEstimate()
{
    m_fileSize->setText(fileSizeEstimate(m_pictureCount->value(), m_imageSize));
}

void TimeLapseDialog::closeWhenDone()
{
    m_timeLapse.stop();
    accept();
}

void TimeLapseDialog::reject()
{
    m_timeLapse.stop();
    QDialog::reject();
}
