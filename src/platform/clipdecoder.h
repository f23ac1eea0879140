#pragma once

#include <QImage>
#include <QString>

#include <memory>
#include <optional>

/// Decodes the pictures of an AVI clip in order, for playback: any codec FFmpeg reads, also
/// a clip whose index is missing or broken. A damaged clip ends early or is refused; it
/// never makes a call hang.
class ClipDecoder {
public:
    struct Frame {
        QImage image;    ///< RGB32
        double seconds;  ///< time of the picture from the start of the clip
    };

    ClipDecoder();
    ~ClipDecoder();
    ClipDecoder(const ClipDecoder&) = delete;
    ClipDecoder& operator=(const ClipDecoder&) = delete;

    /// Opens the clip at PATH (closing any earlier one). False, with errorText() saying why,
    /// when it is not a clip with a video stream of a known length that can be decoded.
    bool open(const QString& path);
    void close();
    bool isOpen() const;
    QString errorText() const { return m_errorText; }

    /// Length of the clip in seconds; 0 when none is open.
    double duration() const;

    /// The next picture, or nothing at the end of the clip or where the rest of it cannot be
    /// decoded.
    std::optional<Frame> next();

    /// Moves to the last picture at or before SECONDS and returns it; the picture after it is
    /// what next() gives. Nothing when no picture can be decoded there.
    std::optional<Frame> seek(double seconds);

private:
    struct Clip;
    bool openClip(const QString& path);
    std::optional<Frame> decode();

    std::unique_ptr<Clip> m_clip;
    std::optional<Frame> m_pending;  ///< decoded ahead while seeking, given by the next next()
    QString m_path;
    QString m_errorText;
};
