#pragma once

#include "platform/clipdecoder.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QTimer>

#include <optional>

enum class PlaybackState { Closed, Paused, Playing };

/// Plays one clip: decodes its pictures on the main thread and hands each one out at its
/// time stamp while playing. Every operation does nothing while no clip is open.
class PlaybackEngine : public QObject {
    Q_OBJECT

public:
    static constexpr double kStepSeconds = 2.0;

    explicit PlaybackEngine(QObject* parent = nullptr);
    ~PlaybackEngine() override;

    /// Opens PATH (closing any earlier clip) and stays paused at its first picture.
    /// False, with errorText() saying why, when the clip cannot be played.
    bool open(const QString& path);
    void close();
    QString errorText() const { return m_decoder.errorText(); }

    PlaybackState state() const { return m_state; }
    void run();
    void pause();

    double duration() const { return m_decoder.duration(); }
    double currentPosition() const;

    /// Shows the picture at SECONDS (kept within the clip); playing goes on from there.
    void seek(double seconds);
    void back() { seek(currentPosition() - kStepSeconds); }
    void forward() { seek(currentPosition() + kStepSeconds); }
    void last() { seek(duration()); }

    /// Hands out the pictures that have fallen due, in case the event loop was held up.
    void poll();

signals:
    void stateChanged(PlaybackState state);
    void frameReady(const QImage& image);
    /// Playing has reached the end of the clip; the engine is paused there.
    void complete();

private:
    void setState(PlaybackState state);
    void showDueFrames();
    void scheduleNextFrame();

    ClipDecoder m_decoder;
    PlaybackState m_state = PlaybackState::Closed;
    double m_position = 0;       ///< while paused; while playing, where the clock started
    QElapsedTimer m_clock;       ///< runs while playing
    std::optional<ClipDecoder::Frame> m_upcoming;  ///< decoded, not yet due
    bool m_atEnd = false;        ///< no picture after the one shown
    QTimer m_frameTimer;
};
