#pragma once

#include "capture/framesink.h"
#include "media/medianames.h"
#include "platform/aviwriter.h"
#include "platform/clock.h"

#include <QObject>
#include <QSize>
#include <QString>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

class LocalText;
class MediaPaths;
class Prompter;
class QWidget;

/// The recording side: compressor options, the open clip, the frames written into it under the
/// recording lock. One lives for the whole run.
class Recorder : public QObject, public FrameSink {
    Q_OBJECT

public:
    Recorder(MediaPaths& paths, const LocalText& text, Prompter& prompter, QObject* parent = nullptr);
    ~Recorder() override;  // closes an open clip

    void useDefaultCompressor();  // F3, and the dialog's OK without a choice
    /// The Compress button: our own chooser dialog listing AviWriter::encoders(); sets the
    /// compressor-chosen flag first (even when the chooser is cancelled), as the old one did.
    void chooseCompressor(QWidget* parent);
    /// The dialog's OK: true (and the flag cleared) when Compress was pressed since the last OK.
    bool takeCompressorChosen();
    /// The encoder clips are compressed with; nothing before the first compressor was set.
    const std::optional<AviEncoder>& compressor() const { return m_compressor; }

    /// Opens the next clip (Video_..._Nxxxx.avi in the video folder) for frames of SIZE with the
    /// stored rate of FRAMERATECLASS (15 -> 22, 14 -> 15, else 5). On failure shows the exact
    /// error text in a message box captioned "AVI Capture" (error icon) through the Prompter,
    /// removes the file it created (it holds no frame) and returns false.
    bool open(QSize size, int frameRateClass, QWidget* parent);
    bool isOpen() const;
    /// Streaming thread: writes the frame as a key frame at the next index; frames of another
    /// size are skipped. The first failed write ends the writing, closes the file cleanly and
    /// emits writeFailed once.
    void writeFrame(const CameraFrame& frame) override;
    /// Closes the clip and emits clipClosed(path); the next clip's frames start at index 0.
    void close();
    /// Frames in the open clip, or in the last one after it was closed.
    std::int64_t framesWritten() const;

    /// Frames a second stored in a clip of FRAMERATECLASS.
    static int storedRate(int frameRateClass);
    /// The error box's text for a failed opening.
    static QString openFailureText(const AviWriter::OpenResult& result);

signals:
    void clipClosed(const QString& path);      // the gallery adds it (main window connects)
    void writeFailed(const QString& message);  // queued to the main thread; a plain-words message with the
                                               // system's error text, e.g. disk full

private:
    bool compressorWorks(const AviEncoder& encoder, int quality);

    MediaPaths& m_paths;
    const LocalText& m_text;
    Prompter& m_prompter;
    SystemClock m_clock;
    MediaNames m_names;
    std::optional<AviEncoder> m_compressor;
    int m_quality = 0;
    bool m_compressorChosen = false;
    QString m_clipPath;  // empty while no clip is open

    std::mutex m_recordingLock;  // guards the writer and the frame size
    AviWriter m_writer;
    QSize m_frameSize;
    std::atomic<std::int64_t> m_framesWritten{0};
    std::int64_t m_framesDelivered = 0;  // under the lock
    bool m_emptyAfterFailure = false;    // under the lock
};
