#include "media/medianames.h"

#include "media/mediapaths.h"
#include "platform/clock.h"
#include "platform/nativepath.h"
#include "platform/prompter.h"


#include <climits>

namespace {

// Highest value a file may contribute, so that one more still fits in an int.
constexpr long long kMaxReadableNumber = INT_MAX - 1;

QString dateTimePart(const QString& prefix, const QDateTime& localTime)
{
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    return prefix
        + QString::asprintf("%4d-%02d-%02d_%02d%02d%02d", date.year(), date.month(), date.day(),
                            time.hour(), time.minute(), time.second());
}

}  // namespace

MediaNames::MediaNames(const MediaPaths& paths, Prompter& prompter, const Clock& clock)
    : m_paths(paths)
    , m_prompter(prompter)
    , m_clock(clock)
{
}

int MediaNames::nextStillNumber() const
{
    return nextSequenceNumber(m_paths.pictureFolder(), QStringLiteral("bmp"),
                              QStringLiteral("Picture Error"), m_prompter);
}

int MediaNames::nextClipNumber() const
{
    return nextSequenceNumber(m_paths.videoFolder(), QStringLiteral("avi"),
                              QStringLiteral("AVI Error"), m_prompter);
}

QString MediaNames::makeStillName(const QString& scaleText) const
{
    // The folder is scanned before the clock is read, so two stills in one second share the
    // time and differ in their numbers.
    const int number = nextStillNumber();
    return formatStillName(m_paths.pictureFolder(), m_clock.localNow(), scaleText, number);
}

QString MediaNames::makeClipName() const
{
    const int number = nextClipNumber();
    return formatClipName(m_paths.videoFolder(), m_clock.localNow(), number);
}

int MediaNames::nextSequenceNumber(const QString& folder, const QString& extension,
                                   const QString& errorText, Prompter& prompter)
{
    int maximum = 0;
    for (const NativePath::Entry& entry : NativePath::list(folder)) {
        if (!NativePath::hasExtension(entry.name, extension)) {
            continue;
        }
        if (entry.isDirectory) {
            prompter.message(nullptr, errorText, Prompter::Icon::None, Prompter::Buttons::Ok);
            continue;
        }
        const std::optional<int> number = sequenceNumberOf(entry.name);
        if (number && *number > maximum) {
            maximum = *number;
        }
    }
    return maximum + 1;
}

std::optional<int> MediaNames::sequenceNumberOf(const QString& fileName)
{
    const qsizetype n = fileName.lastIndexOf(QLatin1Char('N'));
    if (n < 0) {
        return std::nullopt;
    }
    QStringView rest = QStringView(fileName).mid(n + 1);
    const qsizetype dot = rest.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) {
        rest = rest.left(dot);
    }
    // Read the way atoi() does: leading blanks, an optional sign, then digits up to the
    // first non-digit. Very long runs of digits stop growing instead of overflowing.
    qsizetype i = 0;
    while (i < rest.size() && (rest[i] == QLatin1Char(' ') || (rest[i] >= QLatin1Char('\t') && rest[i] <= QLatin1Char('\r')))) {
        ++i;
    }
    bool negative = false;
    if (i < rest.size() && (rest[i] == QLatin1Char('+') || rest[i] == QLatin1Char('-'))) {
        negative = rest[i] == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    for (; i < rest.size() && rest[i] >= QLatin1Char('0') && rest[i] <= QLatin1Char('9'); ++i) {
        value = std::min(value * 10 + (rest[i].unicode() - u'0'), kMaxReadableNumber);
    }
    return static_cast<int>(negative ? -value : value);
}

QString MediaNames::formatStillName(const QString& pictureFolder, const QDateTime& localTime,
                                    const QString& scaleText, int number)
{
    QString name = pictureFolder + QLatin1Char('/') + dateTimePart(QStringLiteral("Still_"), localTime);
    const QString scale = scaleText.left(kMaxScaleTextLength);
    if (!scale.isEmpty()) {
        name += QLatin1Char('_') + scale + QLatin1Char('X');
    }
    return name + QString::asprintf("_N%04d.bmp", number);
}

QString MediaNames::formatClipName(const QString& videoFolder, const QDateTime& localTime, int number)
{
    return videoFolder + QLatin1Char('/') + dateTimePart(QStringLiteral("Video_"), localTime)
        + QString::asprintf("_N%04d.avi", number);
}
