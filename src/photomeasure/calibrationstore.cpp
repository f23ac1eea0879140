#include "photomeasure/calibrationstore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cmath>
#include <utility>

namespace {

const QString kFormat = QStringLiteral("quillon-kept-calibrations");
constexpr int kVersion = 1;
// Far beyond any microscope or picture, still far below where doubles stop being exact.
constexpr double kMaxMagnification = 1e6;
constexpr double kMaxValue = 1e9;
constexpr int kMaxSide = 65535;

bool sameMagnification(double a, double b)
{
    // The rate box's text is read the same way each time; the tolerance only absorbs the
    // last bit of a number written out and read back.
    return std::fabs(a - b) <= 1e-9 * std::fmax(std::fabs(a), std::fabs(b));
}

std::optional<double> positive(const QJsonValue& value, double limit)
{
    if (!value.isDouble()) {
        return std::nullopt;
    }
    const double number = value.toDouble();
    if (!std::isfinite(number) || number <= 0.0 || number > limit) {
        return std::nullopt;
    }
    return number;
}

std::optional<int> side(const QJsonValue& value)
{
    const std::optional<double> number = positive(value, kMaxSide);
    if (!number || *number != std::floor(*number)) {
        return std::nullopt;
    }
    return int(*number);
}

// Names show in menus and lists: one line of real characters.
bool soundName(const QString& name)
{
    if (name.trimmed().isEmpty() || name.size() > CalibrationStore::kMaxNameLength || !QStringView(name).isValidUtf16()) {
        return false;
    }
    for (const QChar character : name) {
        if (character.category() == QChar::Other_Control) {
            return false;
        }
    }
    return true;
}

std::optional<KeptCalibration> entryFrom(const QJsonValue& value)
{
    if (!value.isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = value.toObject();
    const QJsonValue name = object.value(QStringLiteral("name"));
    const std::optional<double> magnification = positive(object.value(QStringLiteral("magnification")), kMaxMagnification);
    const std::optional<int> width = side(object.value(QStringLiteral("width")));
    const std::optional<int> height = side(object.value(QStringLiteral("height")));
    const std::optional<double> calibration = positive(object.value(QStringLiteral("value")), kMaxValue);
    const std::optional<double> distance = positive(object.value(QStringLiteral("distance")), kMaxValue);
    const QDate date = QDate::fromString(object.value(QStringLiteral("date")).toString(), Qt::ISODate);
    if (!name.isString() || !soundName(name.toString()) || !magnification || !width || !height
        || !calibration || !distance || !date.isValid()) {
        return std::nullopt;
    }
    return KeptCalibration{name.toString(), *magnification, *width, *height, *calibration, *distance, date};
}

}  // namespace

bool KeptCalibration::fits(double otherMagnification, int otherWidth, int otherHeight) const
{
    return width == otherWidth && height == otherHeight && sameMagnification(magnification, otherMagnification);
}

QString magnificationText(double magnification)
{
    return QString::number(magnification, 'g', 10) + QLatin1Char('X');
}

std::optional<std::vector<KeptCalibration>> parseKeptCalibrations(const QByteArray& bytes, QString* problem)
{
    const auto refuse = [problem](const QString& reason) {
        if (problem != nullptr) {
            *problem = reason;
        }
        return std::nullopt;
    };
    if (bytes.size() > CalibrationStore::kMaxFileBytes) {
        return refuse(QStringLiteral("the file is too large"));
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        return refuse(error.errorString() + QStringLiteral(" at byte %1").arg(error.offset));
    }
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(QStringLiteral("format")).toString() != kFormat) {
        return refuse(QStringLiteral("not a list of kept calibrations"));
    }
    if (root.value(QStringLiteral("version")).toInt() != kVersion) {
        return refuse(QStringLiteral("written in another version of the list"));
    }
    const QJsonValue list = root.value(QStringLiteral("calibrations"));
    if (!list.isArray() || std::size_t(list.toArray().size()) > CalibrationStore::kMaxEntries) {
        return refuse(QStringLiteral("no list of calibrations, or too many"));
    }
    std::vector<KeptCalibration> entries;
    const QJsonArray array = list.toArray();
    for (qsizetype index = 0; index < array.size(); ++index) {
        std::optional<KeptCalibration> entry = entryFrom(array.at(index));
        if (!entry) {
            return refuse(QStringLiteral("entry %1 is not a sound calibration").arg(index + 1));
        }
        entries.push_back(std::move(*entry));
    }
    return entries;
}

QByteArray serialiseKeptCalibrations(const std::vector<KeptCalibration>& entries)
{
    QJsonArray list;
    for (const KeptCalibration& entry : entries) {
        list.append(QJsonObject{
            {QStringLiteral("name"), entry.name},
            {QStringLiteral("magnification"), entry.magnification},
            {QStringLiteral("width"), entry.width},
            {QStringLiteral("height"), entry.height},
            {QStringLiteral("value"), entry.value},
            {QStringLiteral("distance"), entry.distance},
            {QStringLiteral("date"), entry.date.toString(Qt::ISODate)},
        });
    }
    const QJsonObject root{
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("version"), kVersion},
        {QStringLiteral("calibrations"), list},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

CalibrationStore::CalibrationStore(QString path, QObject* parent)
    : QObject(parent)
    , m_path(std::move(path))
{
}

QString CalibrationStore::pathIn(const QString& configFolder)
{
    return configFolder + QStringLiteral("/calibrations.json");
}

void CalibrationStore::load()
{
    m_entries.clear();
    m_problem.reset();
    m_fileUnusable = false;
    QFile file(m_path);
    if (!file.exists()) {
        emit changed();
        return;
    }
    QString problem;
    if (!file.open(QIODevice::ReadOnly)) {
        problem = file.errorString();
    } else if (file.size() > kMaxFileBytes) {
        problem = QStringLiteral("the file is too large");
    } else if (const std::optional<std::vector<KeptCalibration>> entries =
                   parseKeptCalibrations(file.read(kMaxFileBytes + 1), &problem)) {
        m_entries = *entries;
    }
    if (!problem.isEmpty()) {
        m_fileUnusable = true;
        m_problem = QDir::toNativeSeparators(m_path) + QStringLiteral(": ") + problem;
    }
    emit changed();
}

std::optional<QString> CalibrationStore::takeProblem()
{
    return std::exchange(m_problem, std::nullopt);
}

std::optional<KeptCalibration> CalibrationStore::find(double magnification, int width, int height) const
{
    for (const KeptCalibration& entry : m_entries) {
        if (entry.fits(magnification, width, height)) {
            return entry;
        }
    }
    return std::nullopt;
}

std::optional<QString> CalibrationStore::keep(const KeptCalibration& given)
{
    KeptCalibration entry = given;
    entry.name = entry.name.trimmed().left(kMaxNameLength);
    // What the reader would refuse is never written: it would make the whole file unusable.
    QString problem;
    if (!parseKeptCalibrations(serialiseKeptCalibrations({entry}), &problem)) {
        return QStringLiteral("not a sound calibration");
    }
    std::vector<KeptCalibration> entries = m_entries;
    for (KeptCalibration& old : entries) {
        if (old.fits(entry.magnification, entry.width, entry.height)) {
            const QString name = old.name;
            old = entry;
            old.name = name;
            return write(std::move(entries));
        }
    }
    if (entries.size() >= kMaxEntries) {
        return QStringLiteral("no more than %1 calibrations can be kept").arg(kMaxEntries);
    }
    entries.push_back(entry);
    return write(std::move(entries));
}

std::optional<QString> CalibrationStore::rename(std::size_t index, const QString& name)
{
    const QString trimmed = name.trimmed().left(kMaxNameLength);
    if (index >= m_entries.size() || !soundName(trimmed)) {
        return QStringLiteral("a kept calibration needs a name on one line");
    }
    std::vector<KeptCalibration> entries = m_entries;
    entries[index].name = trimmed;
    return write(std::move(entries));
}

std::optional<QString> CalibrationStore::remove(std::size_t index)
{
    if (index >= m_entries.size()) {
        return QStringLiteral("no such calibration");
    }
    std::vector<KeptCalibration> entries = m_entries;
    entries.erase(entries.begin() + std::ptrdiff_t(index));
    return write(std::move(entries));
}

std::optional<QString> CalibrationStore::write(std::vector<KeptCalibration> entries)
{
    if (m_fileUnusable) {
        if (std::optional<QString> reason = setAside()) {
            return reason;
        }
    }
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        return QStringLiteral("cannot make the folder %1").arg(QFileInfo(m_path).absolutePath());
    }
    const QByteArray bytes = serialiseKeptCalibrations(entries);
    QSaveFile file(m_path);
    // Unbuffered, so a short write (a full disk) shows at once and the old file stays.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return file.errorString();
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    m_entries = std::move(entries);
    emit changed();
    return std::nullopt;
}

// The user may want back what the file held; it keeps its content under a name no later
// set-aside takes.
std::optional<QString> CalibrationStore::setAside()
{
    if (!QFile::exists(m_path)) {
        m_fileUnusable = false;
        return std::nullopt;
    }
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = m_path + QStringLiteral(".unreadable-") + stamp;
    for (int number = 2; QFile::exists(aside); ++number) {
        aside = m_path + QStringLiteral(".unreadable-%1-%2").arg(stamp).arg(number);
    }
    QFile file(m_path);
    if (!file.rename(aside)) {
        return QStringLiteral("cannot set the unreadable %1 aside: %2").arg(m_path, file.errorString());
    }
    m_fileUnusable = false;
    return std::nullopt;
}
