#include "platform/fileoperations.h"

#include "platform/systemerror.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {
/// The mode new files get: 0666 less the process's umask, read without changing it (setting
/// and restoring the umask would race with other threads creating files).
mode_t newFileMode()
{
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

/// Reads all of INPUT into OUTPUT; 0 or the error number.
int copyAll(int input, int output)
{
    std::vector<char> chunk(std::size_t(1) << 20);
    for (;;) {
        const ssize_t got = ::read(input, chunk.data(), chunk.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (got == 0) {
            return 0;
        }
        for (ssize_t written = 0; written < got;) {
            const ssize_t put = ::write(output, chunk.data() + written, std::size_t(got - written));
            if (put < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return errno;
            }
            written += put;
        }
    }
}

/// Writes INPUT into a new hidden file beside DESTINATION and renames it over DESTINATION;
/// 0 or the error number.
int copyInto(int input, const QString& destination)
{
    const QFileInfo target(destination);
    QByteArray temporary = QFile::encodeName(target.absolutePath() + QStringLiteral("/.")
                                             + target.fileName())
        + ".XXXXXX";
    const int output = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (output < 0) {
        return errno;
    }
    // mkostemp makes the file private; a copy gets the mode any new file of ours gets.
    int error = ::fchmod(output, newFileMode()) == 0 ? copyAll(input, output) : errno;
    if (::close(output) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.constData(), QFile::encodeName(destination).constData()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.constData());
    }
    return error;
}
}  // namespace

namespace FileOperations {

std::optional<QString> copyReplacing(const QString& source, const QString& destination)
{
    const int input = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
    if (input < 0) {
        return systemErrorText(errno);
    }
    struct stat info {};
    int error = ::fstat(input, &info) != 0 ? errno : 0;
    if (error == 0 && S_ISDIR(info.st_mode)) {
        error = EISDIR;
    }
    if (error == 0) {
        error = copyInto(input, destination);
    }
    ::close(input);
    if (error != 0) {
        return systemErrorText(error);
    }
    return std::nullopt;
}

std::optional<QString> removeFile(const QString& path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0) {
        return systemErrorText(errno);
    }
    return std::nullopt;
}

bool isSameFile(const QString& first, const QString& second)
{
    struct stat a {};
    struct stat b {};
    return ::stat(QFile::encodeName(first).constData(), &a) == 0
        && ::stat(QFile::encodeName(second).constData(), &b) == 0 && a.st_dev == b.st_dev
        && a.st_ino == b.st_ino;
}

}  // namespace FileOperations
