#include "platform/privatefolder.h"

#include "platform/systemerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr mode_t kPrivateMode = 0700;

/// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

int openFolderNoFollow(int parentFd, const char* name)
{
    return ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool endsWithIgnoringCase(const char* name, const QByteArray& suffix)
{
    return QByteArray(name).toLower().endsWith(suffix);
}

/// Removes the entries of the open folder FD (all of them, or those ending in SUFFIX),
/// descending into folders among them; takes ownership of FD.
void removeEntries(int fd, const QByteArray* suffix)
{
    DIR* folder = ::fdopendir(fd);
    if (folder == nullptr) {
        ::close(fd);
        return;
    }
    const uid_t me = ::geteuid();
    while (const dirent* entry = ::readdir(folder)) {
        const char* name = entry->d_name;
        if (qstrcmp(name, ".") == 0 || qstrcmp(name, "..") == 0) {
            continue;
        }
        if (suffix != nullptr && !endsWithIgnoringCase(name, *suffix)) {
            continue;
        }
        struct stat info {};
        if (::fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0 || info.st_uid != me) {
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            const int inner = openFolderNoFollow(fd, name);
            if (inner >= 0) {
                removeEntries(inner, suffix);
            }
            ::unlinkat(fd, name, AT_REMOVEDIR);
        } else {
            // A link is removed as a link; its target is never touched.
            ::unlinkat(fd, name, 0);
        }
    }
    ::closedir(folder);
}

/// Opens PATH as a folder without following a link in its last part.
int openPathNoFollow(const QByteArray& path)
{
    return ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

void removeFolder(const QString& path, const QByteArray* suffix)
{
    const QByteArray encoded = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(encoded.constData(), &info) != 0) {
        return;
    }
    if (S_ISLNK(info.st_mode)) {
        ::unlink(encoded.constData());
        return;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
        return;
    }
    const int fd = openPathNoFollow(encoded);
    if (fd < 0) {
        return;
    }
    removeEntries(fd, suffix);
    ::rmdir(encoded.constData());
}

void setError(QString* errorText, int errorNumber)
{
    if (errorText != nullptr) {
        *errorText = systemErrorText(errorNumber);
    }
}
}  // namespace

PrivateFolder::PrivateFolder(QString path) : m_path(std::move(path)) {}

QString PrivateFolder::mailLocation()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QDir(runtime).exists()) {
        return QDir(runtime).filePath(QStringLiteral("quillon-jpg"));
    }
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return QDir(cache).filePath(QStringLiteral("Quillon/Jpg"));
}

bool PrivateFolder::create(QString* errorText) const
{
    const QString parent = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(parent)) {
        setError(errorText, errno != 0 ? errno : EACCES);
        return false;
    }
    const QByteArray encoded = QFile::encodeName(m_path);

    // At most one retry: after a link in our place has been removed.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (::mkdir(encoded.constData(), kPrivateMode) != 0 && errno != EEXIST) {
            setError(errorText, errno);
            return false;
        }
        Descriptor fd(openPathNoFollow(encoded));
        if (fd.get() < 0) {
            const int openError = errno;
            struct stat info {};
            if (attempt == 0 && ::lstat(encoded.constData(), &info) == 0 && S_ISLNK(info.st_mode)
                && ::unlink(encoded.constData()) == 0) {
                continue;
            }
            setError(errorText, openError);
            return false;
        }
        struct stat info {};
        if (::fstat(fd.get(), &info) != 0) {
            setError(errorText, errno);
            return false;
        }
        if (info.st_uid != ::geteuid()) {
            setError(errorText, EPERM);
            return false;
        }
        // The mode is set on the open folder itself, so a folder swapped in after the
        // check cannot receive it; it also undoes a umask that took the owner's bits.
        if ((info.st_mode & 07777) != kPrivateMode && ::fchmod(fd.get(), kPrivateMode) != 0) {
            setError(errorText, errno);
            return false;
        }
        return true;
    }
    setError(errorText, ELOOP);
    return false;
}

void PrivateFolder::removeMatching(const QString& suffix) const
{
    const QByteArray lowerSuffix = QFile::encodeName(suffix).toLower();
    removeFolder(m_path, &lowerSuffix);
}

void PrivateFolder::removeAll() const
{
    removeFolder(m_path, nullptr);
}

QString PrivateFolder::createFile(const QString& name, QString* errorText) const
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String(".")
        || name == QLatin1String("..")) {
        setError(errorText, EINVAL);
        return {};
    }
    Descriptor folder(openPathNoFollow(QFile::encodeName(m_path)));
    if (folder.get() < 0) {
        setError(errorText, errno);
        return {};
    }
    const QByteArray encodedName = QFile::encodeName(name);
    Descriptor file(::openat(folder.get(), encodedName.constData(),
                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (file.get() < 0) {
        setError(errorText, errno);
        return {};
    }
    return QDir(m_path).filePath(name);
}

bool PrivateFolder::holdsOwnFile(const QString& name) const
{
    Descriptor folder(openPathNoFollow(QFile::encodeName(m_path)));
    if (folder.get() < 0) {
        return false;
    }
    struct stat info {};
    const QByteArray encodedName = QFile::encodeName(name);
    return ::fstatat(folder.get(), encodedName.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0
        && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}
