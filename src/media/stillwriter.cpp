#include "media/stillwriter.h"

#include "media/medianames.h"

#include <QFile>

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace {

template <typename T>
void put(std::uint8_t*& at, T value)
{
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        *at++ = static_cast<std::uint8_t>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xff);
    }
}

std::array<std::uint8_t, 54> headers(QSize size)
{
    const auto imageSize = std::uint32_t(size.width()) * std::uint32_t(size.height()) * 3;
    std::array<std::uint8_t, 54> bytes{};
    std::uint8_t* at = bytes.data();
    put<std::uint16_t>(at, 0x4D42);  // "BM"
    put<std::uint32_t>(at, imageSize + 54);
    put<std::uint32_t>(at, 0);       // two reserved words
    put<std::uint32_t>(at, 54);
    put<std::uint32_t>(at, 40);
    put<std::int32_t>(at, size.width());
    put<std::int32_t>(at, size.height());  // positive: rows bottom-up, as delivered
    put<std::uint16_t>(at, 1);
    put<std::uint16_t>(at, 24);
    put<std::uint32_t>(at, 0);
    put<std::uint32_t>(at, imageSize);
    return bytes;  // resolutions and colour counts stay 0
}

bool writeAll(int fd, const std::uint8_t* data, std::size_t length)
{
    while (length > 0) {
        const ssize_t written = ::write(fd, data, length);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = ENOSPC;
            }
            return false;
        }
        data += written;
        length -= std::size_t(written);
    }
    return true;
}

}  // namespace

StillWriter::Result StillWriter::write(const QString& path, const std::vector<std::uint8_t>& frame, QSize size)
{
    const std::size_t pixels = std::size_t(size.width()) * std::size_t(size.height()) * 3;
    if (size.isEmpty() || frame.size() < pixels) {
        return {false, EINVAL};
    }
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return {false, errno};
    }
    const auto head = headers(size);
    bool written = writeAll(fd, head.data(), head.size()) && writeAll(fd, frame.data(), pixels);
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) {
        ::unlink(name.constData());
        return {false, error};
    }
    return {true, 0};
}

QString StillWriter::nameSafeScaleText(const QString& scaleBoxText)
{
    QString text = scaleBoxText.left(MediaNames::kMaxScaleTextLength);
    // A separator would put the still into another folder, a control character garbage
    // into its name; neither is part of a scale.
    text.removeIf([](QChar c) { return c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control; });
    return text;
}
