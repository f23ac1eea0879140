#include "platform/nativepath.h"

#include <QDir>

#include <algorithm>
#include <utility>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;
constexpr char16_t kReplacement = 0xFFFD;

bool isEscape(char16_t unit)
{
    return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;
}

/// The length of the well-formed UTF-8 sequence at BYTES[0], or 0 when there is none there.
/// Overlong forms, surrogates and values above U+10FFFF are not well-formed: their bytes
/// are escaped one by one, so that encoding gives them back unchanged.
int sequenceLength(const unsigned char* bytes, std::size_t left)
{
    const unsigned char lead = bytes[0];
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (left < std::size_t(length) || bytes[1] < low || bytes[1] > high) {
        return 0;
    }
    for (int i = 2; i < length; ++i) {
        if (bytes[i] < 0x80 || bytes[i] > 0xBF) {
            return 0;
        }
    }
    return length;
}

void appendUtf8(QByteArray& out, char32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

QString errorText(int errorNumber)
{
    return qt_error_string(errorNumber);
}

}  // namespace

namespace NativePath {

QString decode(QByteArrayView bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = std::size_t(bytes.size());
    QString out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < size;) {
        const unsigned char lead = data[i];
        if (lead < 0x80) {
            out += QChar(char16_t(lead));
            ++i;
            continue;
        }
        const int length = sequenceLength(data + i, size - i);
        if (length == 0) {
            out += QChar(char16_t(kEscapeBase + lead));
            ++i;
            continue;
        }
        char32_t code = lead & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
        for (int k = 1; k < length; ++k) {
            code = (code << 6) | (data[i + k] & 0x3F);
        }
        out += QStringView(QChar::fromUcs4(code));
        i += std::size_t(length);
    }
    return out;
}

QByteArray encode(QStringView path)
{
    QByteArray out;
    out.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < path.size() && path[i + 1].isLowSurrogate()) {
            appendUtf8(out, QChar::surrogateToUcs4(unit, path[i + 1].unicode()));
            ++i;
        } else if (isEscape(unit)) {
            out += char(unit - kEscapeBase);
        } else if (QChar::isSurrogate(unit)) {
            appendUtf8(out, kReplacement);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

QString display(QStringView path)
{
    QString out;
    out.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < path.size() && path[i + 1].isLowSurrogate()) {
            out += path[i];
            out += path[++i];
        } else if (isEscape(unit) && unit - kEscapeBase >= 0xA0) {
            out += QChar(char16_t(unit - kEscapeBase));
        } else if (QChar::isSurrogate(unit)) {
            // Latin-1's 80..9F are invisible control characters.
            out += QChar(kReplacement);
        } else {
            out += path[i];
        }
    }
    return out;
}

QString absolute(const QString& path)
{
    if (path.startsWith(QLatin1Char('/'))) {
        return QDir::cleanPath(path);
    }
    char current[PATH_MAX];
    if (::getcwd(current, sizeof current) == nullptr) {
        return path;
    }
    return QDir::cleanPath(decode(current) + QLatin1Char('/') + path);
}

bool hasRawBytes(QStringView path)
{
    return std::any_of(path.begin(), path.end(), [](QChar c) { return isEscape(c.unicode()); });
}

std::optional<struct stat> status(const QString& path)
{
    struct stat info {};
    if (::stat(encode(path).constData(), &info) != 0) {
        return std::nullopt;
    }
    return info;
}

bool exists(const QString& path)
{
    return status(path).has_value();
}

bool isFile(const QString& path)
{
    const std::optional<struct stat> info = status(path);
    return info && S_ISREG(info->st_mode);
}

bool isDirectory(const QString& path)
{
    const std::optional<struct stat> info = status(path);
    return info && S_ISDIR(info->st_mode);
}

int openDescriptor(const QString& path, int flags, mode_t mode)
{
    return ::open(encode(path).constData(), flags | O_CLOEXEC, mode);
}

bool openForReading(QFile& file, const QString& path, QIODevice::OpenMode extra)
{
    const int fd = openDescriptor(path, O_RDONLY);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)
        || !file.open(fd, QIODevice::ReadOnly | extra, QFileDevice::AutoCloseHandle)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        errno = error;
        return false;
    }
    return true;
}

std::vector<Entry> list(const QString& folder)
{
    std::vector<Entry> entries;
    DIR* dir = ::opendir(encode(folder).constData());
    if (dir == nullptr) {
        return entries;
    }
    const int fd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name == "." || name == "..") {
            continue;
        }
        Entry item;
        item.name = decode(QByteArrayView(name.data(), qsizetype(name.size())));
        struct stat info {};
        if (::fstatat(fd, entry->d_name, &info, 0) == 0) {
            item.isFile = S_ISREG(info.st_mode);
            item.isDirectory = S_ISDIR(info.st_mode);
            item.size = info.st_size;
        }
        entries.push_back(std::move(item));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

bool hasExtension(QStringView name, QStringView extension)
{
    return name.size() > extension.size()
        && name[name.size() - extension.size() - 1] == QLatin1Char('.')
        && name.endsWith(extension, Qt::CaseInsensitive);
}

mode_t newFileMode()
{
    // Read without changing the umask: setting and restoring it would race with other
    // threads creating files.
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        while (!status.atEnd()) {
            const QByteArray line = status.readLine();
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok) {
                    return 0666 & ~mode_t(mask);
                }
            }
        }
    }
    return 0644;
}

SaveFile::SaveFile(const QString& path) : m_target(encode(path)) {}

SaveFile::~SaveFile()
{
    cancel();
}

bool SaveFile::open()
{
    cancel();
    // Written through a link, as QSaveFile does: the link stays and its file is replaced.
    struct stat info {};
    if (::lstat(m_target.constData(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(m_target.constData(), resolved) != nullptr) {
            m_target = resolved;
        }
    }
    const qsizetype slash = m_target.lastIndexOf('/');
    m_temporary = m_target.left(slash + 1) + '.' + m_target.mid(slash + 1) + ".XXXXXX";
    const int fd = ::mkostemp(m_temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        m_error = errorText(errno);
        m_temporary.clear();
        return false;
    }
    // mkostemp makes the file private; a replaced file keeps its mode, a new one gets the
    // mode any new file of ours gets.
    const mode_t mode = ::stat(m_target.constData(), &info) == 0 ? mode_t(info.st_mode & 07777) : newFileMode();
    if (::fchmod(fd, mode) != 0) {
        m_error = errorText(errno);
        ::close(fd);
        ::unlink(m_temporary.constData());
        m_temporary.clear();
        return false;
    }
    m_device.fd = fd;
    m_device.error = 0;
    m_device.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return true;
}

bool SaveFile::commit()
{
    if (m_device.fd < 0) {
        return false;
    }
    // A write that failed earlier leaves its mark even where the caller did not look at what
    // the write returned.
    int error = m_device.error;
    if (error == 0 && ::fsync(m_device.fd) != 0) {
        error = errno;
    }
    if (::close(std::exchange(m_device.fd, -1)) != 0 && error == 0) {
        error = errno;
    }
    m_device.close();
    if (error == 0 && ::rename(m_temporary.constData(), m_target.constData()) != 0) {
        error = errno;
    }
    if (error != 0) {
        m_error = errorText(error);
        ::unlink(m_temporary.constData());
    }
    m_temporary.clear();
    return error == 0;
}

void SaveFile::cancel()
{
    if (m_device.fd >= 0) {
        ::close(std::exchange(m_device.fd, -1));
    }
    m_device.close();
    if (!m_temporary.isEmpty()) {
        ::unlink(m_temporary.constData());
        m_temporary.clear();
    }
}

qint64 SaveFile::Device::writeData(const char* data, qint64 size)
{
    if (error != 0) {
        return -1;
    }
    for (qint64 written = 0; written < size;) {
        const ssize_t put = ::write(fd, data + written, std::size_t(size - written));
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            error = put < 0 ? errno : EIO;
            setErrorString(errorText(error));
            return -1;
        }
        written += put;
    }
    return size;
}

}  // namespace NativePath
