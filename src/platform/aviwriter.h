#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

/// A video encoder whose output an AVI file can hold.
struct AviEncoder {
    QString name;      ///< FFmpeg's name, e.g. "msvideo1"
    QString longName;  ///< what the chooser lists, e.g. "Microsoft Video-1"
    QString handler;   ///< the four characters the stream is stored with, e.g. "MSVC"
    int defaultQuality = 0;  ///< 0 (smallest) to 10000 (best)
};

/// An AVI file with one video stream: bottom-up 24-bit blue-green-red frames in, every one
/// compressed as a key frame at the next index. Not thread-safe; the owner locks.
class AviWriter {
public:
    /// The step of opening that failed.
    enum class Step {
        None,
        File,              ///< the file cannot be created
        Stream,            ///< no stream could be added
        CompressedStream,  ///< the encoder is missing or refuses to open
        Unsupported,       ///< the AVI container cannot hold the encoder's output
        BadFormat,         ///< no conversion from 24-bit frames to what the encoder takes
        Format,            ///< the file's headers cannot be written
    };
    struct OpenResult {
        Step failed = Step::None;
        int code = 0;  ///< an AVERROR value (negative errno for system errors)
        bool ok() const { return failed == Step::None; }
    };

    /// The encoders usable here, the default one first.
    static std::vector<AviEncoder> encoders();
    /// Microsoft Video 1 ("msvideo1", handler "MSVC").
    static AviEncoder defaultEncoder();
    /// FFmpeg's text for an error CODE of open() or writeError().
    static QString errorText(int code);

    AviWriter();
    ~AviWriter();  // closes
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    /// Creates PATH for WIDTH × HEIGHT frames stored at FRAMESPERSECOND. On failure whatever
    /// was opened is closed again; a file already created stays.
    OpenResult open(const QString& path, int width, int height, int framesPerSecond,
                    const AviEncoder& encoder, int quality);
    bool isOpen() const;
    /// Compresses and stores one frame of exactly width × height × 3 bytes. False when the
    /// frame has the wrong length, or when it or an earlier frame could not be written.
    bool writeFrame(const std::uint8_t* bytes, std::size_t length);
    /// The error of the first failed write (a negative errno as AVERROR), 0 when none.
    int writeError() const;
    /// Drains the encoder, writes the index and closes the file. After a failed write the
    /// file is cut back to its last whole frame first, so what was written stays readable.
    void close();
    std::int64_t framesWritten() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};
