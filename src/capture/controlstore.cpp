#include "capture/controlstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QtDebug>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace {

constexpr int kFormatVersion = 1;
constexpr int kMostSetAsideCopies = 100;

struct ControlName {
    PictureControl control;
    const char* name;
};

constexpr std::array<ControlName, 6> kControlNames{{
    {PictureControl::Brightness, "brightness"},
    {PictureControl::Contrast, "contrast"},
    {PictureControl::Saturation, "saturation"},
    {PictureControl::Sharpness, "sharpness"},
    {PictureControl::Gamma, "gamma"},
    {PictureControl::WhiteBalance, "whiteBalance"},
}};

const QString kAutomaticSuffix = QStringLiteral("Automatic");

QString nameOf(PictureControl control)
{
    for (const ControlName& entry : kControlNames) {
        if (entry.control == control) {
            return QString::fromLatin1(entry.name);
        }
    }
    return {};
}

std::optional<PictureControl> controlNamed(const QString& name)
{
    for (const ControlName& entry : kControlNames) {
        if (name == QLatin1String(entry.name)) {
            return entry.control;
        }
    }
    return std::nullopt;
}

/// A JSON number that is a whole 32-bit value; JSON itself knows only doubles.
std::optional<int> wholeNumber(const QJsonValue& value)
{
    if (!value.isDouble()) {
        return std::nullopt;
    }
    const double number = value.toDouble();
    if (!std::isfinite(number) || number != std::floor(number) || number < std::numeric_limits<int>::min()
        || number > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(number);
}

/// The controls object of one device: "<name>": value, and "<name>Automatic": true for a
/// control left to the camera. Anything else in it makes it unreadable.
std::optional<StoredControls> parseControls(const QJsonObject& object)
{
    StoredControls controls;
    for (auto member = object.begin(); member != object.end(); ++member) {
        if (const auto control = controlNamed(member.key())) {
            const auto value = wholeNumber(member.value());
            if (!value) {
                return std::nullopt;
            }
            controls[*control].value = *value;
        }
    }
    for (auto member = object.begin(); member != object.end(); ++member) {
        if (controlNamed(member.key())) {
            continue;
        }
        if (!member.key().endsWith(kAutomaticSuffix) || !member.value().isBool()) {
            return std::nullopt;
        }
        const auto control = controlNamed(member.key().chopped(kAutomaticSuffix.size()));
        // A mode without its value would be applied with a made-up one.
        if (!control || !controls.contains(*control)) {
            return std::nullopt;
        }
        controls[*control].automatic = member.value().toBool();
    }
    return controls;
}

}  // namespace

ControlStore::ControlStore(std::filesystem::path file, QObject* parent)
    : QObject(parent)
    , m_file(std::move(file))
{
    m_writeTimer.setSingleShot(true);
    m_writeTimer.setInterval(kWriteDelayMs);
    connect(&m_writeTimer, &QTimer::timeout, this, [this] { flush(); });
    load();
}

ControlStore::~ControlStore()
{
    flush();
}

void ControlStore::load()
{
    QFile file(QString::fromStdString(m_file.string()));
    if (!file.exists()) {
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        // Unreadable is not damaged: it may be fine for someone else. Leave it alone.
        qWarning().noquote() << "Cannot read" << file.fileName() << ":" << file.errorString()
                             << "- picture settings will not be kept";
        m_writable = false;
        return;
    }
    const QByteArray content = file.read(kLargestFile + 1);
    file.close();
    if (content.size() <= kLargestFile) {
        if (auto entries = parse(content)) {
            m_entries = std::move(*entries);
            return;
        }
    }
    setDamagedFileAside();
}

void ControlStore::setDamagedFileAside()
{
    const QString original = QString::fromStdString(m_file.string());
    for (int copy = 1; copy <= kMostSetAsideCopies; ++copy) {
        const QString aside = original + QStringLiteral(".damaged")
            + (copy == 1 ? QString() : QStringLiteral("-%1").arg(copy));
        // QFile::rename never replaces an existing file: earlier damaged copies stay.
        if (QFile::rename(original, aside)) {
            m_setAside = aside.toStdString();
            qWarning().noquote() << "Picture settings file" << original << "is damaged; moved to" << aside;
            return;
        }
    }
    qWarning().noquote() << "Picture settings file" << original
                         << "is damaged and cannot be moved aside - it is left as it is";
    m_writable = false;
}

StoredControls ControlStore::controls(const std::string& key) const
{
    const auto entry = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const Entry& candidate) { return candidate.key == key; });
    return key.empty() || entry == m_entries.end() ? StoredControls() : entry->controls;
}

void ControlStore::remember(const std::string& key, PictureControl control, StoredControl setting)
{
    if (key.empty() || key.size() > kLongestKey) {
        return;
    }
    auto entry = std::find_if(m_entries.begin(), m_entries.end(),
                              [&](const Entry& candidate) { return candidate.key == key; });
    if (entry == m_entries.end()) {
        m_entries.insert(m_entries.begin(), Entry{key, {}});
        if (m_entries.size() > kMostDevices) {
            m_entries.pop_back();
        }
    } else {
        std::rotate(m_entries.begin(), entry, entry + 1);
    }
    m_entries.front().controls[control] = setting;
    m_changed = true;
    m_writeTimer.start();
}

bool ControlStore::flush()
{
    m_writeTimer.stop();
    if (!m_changed) {
        return true;
    }
    if (!m_writable) {
        return false;
    }
    const QString path = QString::fromStdString(m_file.string());
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    const QByteArray content = serialize(m_entries);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        qWarning().noquote() << "Cannot write" << path << ":" << file.errorString();
        return false;
    }
    m_changed = false;
    return true;
}

std::optional<std::vector<ControlStore::Entry>> ControlStore::parse(const QByteArray& content)
{
    if (content.size() > kLargestFile) {
        return std::nullopt;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    const QJsonValue devices = root.value(QStringLiteral("devices"));
    if (root.size() != 2 || wholeNumber(root.value(QStringLiteral("version"))) != kFormatVersion
        || !devices.isArray() || std::size_t(devices.toArray().size()) > kMostDevices) {
        return std::nullopt;
    }
    std::vector<Entry> entries;
    for (const QJsonValue device : devices.toArray()) {
        const QJsonObject object = device.toObject();
        const QJsonValue key = object.value(QStringLiteral("key"));
        const QJsonValue controls = object.value(QStringLiteral("controls"));
        if (!device.isObject() || object.size() != 2 || !key.isString() || !controls.isObject()) {
            return std::nullopt;
        }
        Entry entry{key.toString().toStdString(), {}};
        const bool known = std::any_of(entries.begin(), entries.end(),
                                       [&](const Entry& other) { return other.key == entry.key; });
        if (entry.key.empty() || entry.key.size() > kLongestKey || known) {
            return std::nullopt;
        }
        auto parsed = parseControls(controls.toObject());
        if (!parsed) {
            return std::nullopt;
        }
        entry.controls = std::move(*parsed);
        entries.push_back(std::move(entry));
    }
    return entries;
}

QByteArray ControlStore::serialize(const std::vector<Entry>& entries)
{
    QJsonArray devices;
    for (const Entry& entry : entries) {
        QJsonObject controls;
        for (const auto& [control, setting] : entry.controls) {
            const QString name = nameOf(control);
            controls.insert(name, setting.value);
            if (setting.automatic) {
                controls.insert(name + kAutomaticSuffix, true);
            }
        }
        devices.append(QJsonObject{{QStringLiteral("key"), QString::fromStdString(entry.key)},
                                   {QStringLiteral("controls"), controls}});
    }
    const QJsonObject root{{QStringLiteral("version"), kFormatVersion}, {QStringLiteral("devices"), devices}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
