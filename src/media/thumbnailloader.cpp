#include "media/thumbnailloader.h"

#include "media/bmpthumbnail.h"
#include "media/jpegthumbnail.h"
#include "media/thumbnailbuffer.h"
#include "platform/aviframereader.h"

#include "platform/nativepath.h"

#include <cerrno>
#include <sys/stat.h>

// Only a file that is not found counts as vanished; one that exists but cannot be read
// (or is not a plain file) stays listed and simply takes no cell.
ThumbnailLoad checkThumbnailFile(const QString& path, FileStamp* stamp)
{
    struct stat status {};
    if (::stat(NativePath::encode(path).constData(), &status) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? ThumbnailLoad::Vanished : ThumbnailLoad::Failed;
    }
    // A FIFO or device named like a picture would block or never end when read.
    if (!S_ISREG(status.st_mode)) {
        return ThumbnailLoad::Failed;
    }
    if (stamp != nullptr) {
        stamp->size = status.st_size;
        stamp->modifiedNs = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    }
    return ThumbnailLoad::Loaded;
}

ThumbnailLoad loadPictureThumbnail(const QString& path, ThumbnailBuffer& buffer)
{
    const ThumbnailLoad state = checkThumbnailFile(path);
    if (state != ThumbnailLoad::Loaded) {
        buffer.clear();
        return state;
    }
    const bool loaded = path.right(3).compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0
        ? loadJpegThumbnail(path, buffer) == 0
        : loadBmpThumbnail(path, buffer);
    return loaded ? ThumbnailLoad::Loaded : ThumbnailLoad::Failed;
}

ThumbnailLoad loadClipThumbnail(const QString& path, ThumbnailBuffer& buffer)
{
    buffer.clear();
    const ThumbnailLoad state = checkThumbnailFile(path);
    if (state != ThumbnailLoad::Loaded) {
        return state;
    }
    const std::optional<std::size_t> pixelBytes =
        AviFrameReader::readFirstFrame(path, buffer.data(), ThumbnailBuffer::kCapacity);
    if (!pixelBytes) {
        return ThumbnailLoad::Failed;
    }
    buffer.setLoaded(path, *pixelBytes);
    return ThumbnailLoad::Loaded;
}
