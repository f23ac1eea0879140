#include "capture/captureformat.h"

#include <cstdio>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace {

class ByteWriter {
public:
    explicit ByteWriter(std::array<std::uint8_t, CaptureFormat::kBytes>& bytes) : m_bytes(bytes) {}
    template <typename T>
    void put(T value)
    {
        auto bits = static_cast<std::uint64_t>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i, bits >>= 8) {
            m_bytes[m_at++] = static_cast<std::uint8_t>(bits & 0xff);
        }
    }

private:
    std::array<std::uint8_t, CaptureFormat::kBytes>& m_bytes;
    std::size_t m_at = 0;
};

class ByteReader {
public:
    explicit ByteReader(const std::array<std::uint8_t, CaptureFormat::kBytes>& bytes) : m_bytes(bytes) {}
    template <typename T>
    void get(T& value)
    {
        std::uint64_t bits = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            bits |= std::uint64_t{m_bytes[m_at++]} << (8 * i);
        }
        value = static_cast<T>(bits);
    }

private:
    const std::array<std::uint8_t, CaptureFormat::kBytes>& m_bytes;
    std::size_t m_at = 0;
};

// The fields in file order; one list serves both directions so they cannot drift apart.
template <typename Format, typename Visit>
void visitFields(Format& f, Visit&& visit)
{
    for (auto& v : f.sourceRect) visit(v);
    for (auto& v : f.targetRect) visit(v);
    visit(f.bitRate);
    visit(f.bitErrorRate);
    visit(f.averageTimePerFrame);
    visit(f.headerSize);
    visit(f.width);
    visit(f.height);
    visit(f.planes);
    visit(f.bitsPerPixel);
    visit(f.compression);
    visit(f.imageSize);
    visit(f.horizontalResolution);
    visit(f.verticalResolution);
    visit(f.colorsUsed);
    visit(f.colorsImportant);
}

// The bit-rate products overflow 32 bits at absurd frame rates; they wrap as unsigned
// arithmetic does instead of leaving the value undefined.
std::uint32_t wrapped(std::uint64_t value)
{
    return static_cast<std::uint32_t>(value & 0xffffffffu);
}

}  // namespace

std::array<std::uint8_t, CaptureFormat::kBytes> CaptureFormat::toBytes() const
{
    std::array<std::uint8_t, kBytes> bytes{};
    ByteWriter writer(bytes);
    visitFields(*this, [&](auto value) { writer.put(value); });
    return bytes;
}

CaptureFormat CaptureFormat::fromBytes(const std::array<std::uint8_t, kBytes>& bytes)
{
    CaptureFormat format;
    ByteReader reader(bytes);
    visitFields(format, [&](auto& value) { reader.get(value); });
    return format;
}

CaptureFormat CaptureFormat::fromDevice(const DeviceFormat& device)
{
    CaptureFormat format;
    format.averageTimePerFrame = device.frameInterval;
    format.headerSize = 40;
    format.width = device.width;
    format.height = device.height;
    format.planes = 1;
    format.bitsPerPixel = static_cast<std::uint16_t>(device.bitsPerPixel);
    format.compression = device.fourcc;
    format.imageSize = device.imageSize;
    format.bitRate = wrapped(std::uint64_t{format.imageSize} * format.roundedFrameRate() * 8);
    return format;
}

DeviceFormat CaptureFormat::request() const
{
    DeviceFormat device;
    device.width = width;
    device.height = height;
    device.fourcc = compression;
    device.bitsPerPixel = bitsPerPixel;
    device.imageSize = imageSize;
    device.frameInterval = averageTimePerFrame;
    return device;
}

std::uint32_t CaptureFormat::roundedFrameRate() const
{
    if (averageTimePerFrame <= 0) {
        return 0;
    }
    return wrapped(static_cast<std::uint64_t>(10'000'000.0 / static_cast<double>(averageTimePerFrame) + 0.49999999));
}

void CaptureFormat::applyDefault()
{
    width = kDefaultWidth;
    height = kDefaultHeight;
    imageSize = kDefaultWidth * kDefaultHeight * 2;
    bitRate = wrapped(std::uint64_t{roundedFrameRate()} * imageSize * 8);
}

void CaptureFormat::resize(int newWidth, int newHeight)
{
    width = newWidth;
    height = newHeight;
    if (bitsPerPixel == 16 || bitsPerPixel == 24) {
        imageSize = wrapped(std::uint64_t(newWidth) * std::uint64_t(newHeight) * (bitsPerPixel / 8));
    }
    bitRate = wrapped(std::uint64_t{imageSize} * roundedFrameRate() * 8);
}

void CaptureFormat::setFrameRate(int rate)
{
    if (rate <= 0) {
        return;
    }
    bitRate = wrapped(std::uint64_t{imageSize} * std::uint64_t(rate) * 8);
    averageTimePerFrame = 10'000'000 / rate;
}

std::filesystem::path captureConfigPath(const std::filesystem::path& folder)
{
    return folder / "CapConfig.dat";
}

std::optional<CaptureFormat> readCaptureConfig(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::array<std::uint8_t, CaptureFormat::kBytes> bytes{};
    in.read(reinterpret_cast<char*>(bytes.data()), bytes.size());
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) {
        return std::nullopt;
    }
    return CaptureFormat::fromBytes(bytes);
}

bool writeCaptureConfig(const std::filesystem::path& file, const CaptureFormat& format)
{
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    std::filesystem::path temporary = file;
    temporary += ".new";
    const auto bytes = format.toBytes();
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    // Flushed to the disk before the rename: after a power cut the old file or the whole new
    // one is there, never an empty one.
    const bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size())
                         && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    std::filesystem::rename(temporary, file, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}
