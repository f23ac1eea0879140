#include "platform/fileoperations.h"

#include "platform/nativepath.h"
#include "platform/systemerror.h"


#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {
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
    const QByteArray target = NativePath::encode(destination);
    const qsizetype slash = target.lastIndexOf('/');
    QByteArray temporary = target.left(slash + 1) + '.' + target.mid(slash + 1) + ".XXXXXX";
    const int output = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (output < 0) {
        return errno;
    }
    // mkostemp makes the file private; a copy gets the mode any new file of ours gets.
    int error = ::fchmod(output, NativePath::newFileMode()) == 0 ? copyAll(input, output) : errno;
    // On the disk before it takes the old file's place: a crash must not leave an empty file.
    if (error == 0 && ::fsync(output) != 0) {
        error = errno;
    }
    if (::close(output) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0) {
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
    const int input = ::open(NativePath::encode(source).constData(), O_RDONLY | O_CLOEXEC);
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
    if (::unlink(NativePath::encode(path).constData()) != 0) {
        return systemErrorText(errno);
    }
    return std::nullopt;
}

bool isSameFile(const QString& first, const QString& second)
{
    struct stat a {};
    struct stat b {};
    return ::stat(NativePath::encode(first).constData(), &a) == 0
        && ::stat(NativePath::encode(second).constData(), &b) == 0 && a.st_dev == b.st_dev
        && a.st_ino == b.st_ino;
}

}  // namespace FileOperations
