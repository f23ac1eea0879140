#pragma once

#include <QObject>
#include <QRect>
#include <QTimer>

#include <optional>

class CaptureEngine;
class LocalText;
class Prompter;
class Recorder;
class SoundPlayer;
class QWidget;
enum class Sound;

/// The main window's side of recording: starting with the recorder dialog or quickly (F3),
/// stopping by the AVI button, F4 or the time limit, the one-second tick and the green
/// seconds counter. A clip is closed whenever the camera goes away under it.
class RecordingControl : public QObject {
    Q_OBJECT

public:
    /// Where the seconds counter shows in the main window's client area.
    static constexpr QRect kCounterRect{737, 516, 133, 30};

    RecordingControl(CaptureEngine& engine, Recorder& recorder, const LocalText& text, Prompter& prompter,
                     SoundPlayer& sounds, QWidget* window);

    bool isRecording() const;
    /// The AVI button and Capture > Take Video: the dialog when idle, a stop when recording.
    void startOrStopWithDialog();
    /// F3: the default compressor, no time limit; nothing while a recording runs.
    void startQuickly();
    /// F4, and before anything that would change a clip's frames: nothing unless a recording runs.
    void stopByKey();

    /// The counter's text while it shows, e.g. " 5 Seconds".
    std::optional<QString> counterText() const;

signals:
    /// The counter changed or went away: the window repaints kCounterRect.
    void counterChanged();

private:
    bool begin(int framesPerSecond, std::optional<int> limit, QTimer& tick);
    void stop(Sound sound);
    void closeClip();
    void tick();
    void quickTick();
    void writeFailed(const QString& message);

    CaptureEngine& m_engine;
    Recorder& m_recorder;
    const LocalText& m_text;
    Prompter& m_prompter;
    SoundPlayer& m_sounds;
    QWidget* m_window;
    QTimer m_tick;       // with a time limit (or none), from the dialog
    QTimer m_quickTick;  // F3's
    int m_elapsed = 0;
    std::optional<int> m_limit;
    bool m_counterShown = false;
};
