#include "app/recordingcontrol.h"

#include "capture/captureengine.h"
#include "media/recorder.h"
#include "media/recordersettingdialog.h"
#include "platform/prompter.h"
#include "platform/soundplayer.h"
#include "texts/localtext.h"

namespace {

constexpr int kTickMs = 1000;
constexpr int kLastTickMs = 500;  // the stop sound follows the closing half a second later
constexpr int kQuickRecordingRate = 15;

}  // namespace

RecordingControl::RecordingControl(CaptureEngine& engine, Recorder& recorder, const LocalText& text,
                                   Prompter& prompter, SoundPlayer& sounds, QWidget* window)
    : QObject(window)
    , m_engine(engine)
    , m_recorder(recorder)
    , m_text(text)
    , m_prompter(prompter)
    , m_sounds(sounds)
    , m_window(window)
{
    connect(&m_tick, &QTimer::timeout, this, &RecordingControl::tick);
    connect(&m_quickTick, &QTimer::timeout, this, &RecordingControl::quickTick);
    connect(&m_recorder, &Recorder::writeFailed, this, &RecordingControl::writeFailed);
    // Unplugged or lost while recording: the clip is closed, so it stays playable, and the
    // counter goes with it - left on screen it would claim a recording that no longer runs.
    connect(&m_engine, &CaptureEngine::stateChanged, this, [this](CaptureState state) {
        if (state == CaptureState::NoCamera && m_recorder.isOpen()) {
            m_tick.stop();
            m_quickTick.stop();
            closeClip();
            m_counterShown = false;
            emit counterChanged();
        }
    });
}

bool RecordingControl::isRecording() const
{
    return m_recorder.isOpen();
}

std::optional<QString> RecordingControl::counterText() const
{
    if (!m_counterShown || m_engine.isFullScreen()) {
        return std::nullopt;
    }
    return QString::asprintf("%2d %s", m_elapsed, m_text.read(Text::Second).toLocal8Bit().constData());
}

void RecordingControl::startOrStopWithDialog()
{
    if (isRecording()) {
        stop(Sound::RecordingStart);
        return;
    }
    m_sounds.play(Sound::RecordingStart);
    m_tick.stop();
    m_quickTick.stop();
    m_elapsed = 0;
    m_limit = 0;
    RecorderSettingDialog dialog(m_recorder, m_text, m_window);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    begin(dialog.frameRate(), dialog.timeLimit(), m_tick);
}

void RecordingControl::startQuickly()
{
    if (isRecording()) {
        return;
    }
    m_sounds.play(Sound::RecordingStart);
    m_elapsed = 0;
    m_recorder.useDefaultCompressor();
    begin(kQuickRecordingRate, std::nullopt, m_quickTick);
}

bool RecordingControl::begin(int framesPerSecond, std::optional<int> limit, QTimer& tick)
{
    m_limit = limit;
    // A recording needs frames: the preview runs from here on.
    if (!m_engine.isRunning() && !m_engine.start()) {
        m_prompter.message(m_window, m_text.read(Text::BrowseToCamera), Prompter::Icon::Warning);
        return false;
    }
    tick.start(kTickMs);
    m_engine.setFrameRate(framesPerSecond);
    const QSize frames = m_engine.frameSize().isEmpty() ? m_engine.resolution() : m_engine.frameSize();
    if (!m_recorder.open(frames, m_engine.frameRateClass(), m_window) || !m_engine.startRecording(m_recorder)) {
        tick.stop();
        if (m_recorder.isOpen()) {
            m_recorder.close();
        }
        return false;
    }
    return true;
}

void RecordingControl::stopByKey()
{
    if (isRecording()) {
        stop(Sound::RecordingStop);
    }
}

void RecordingControl::stop(Sound sound)
{
    m_sounds.play(sound);
    m_tick.stop();
    m_quickTick.stop();
    closeClip();
    m_counterShown = false;
    emit counterChanged();
}

void RecordingControl::closeClip()
{
    // The engine lets go of the recorder first, so no frame is being written while it closes.
    m_engine.stopRecording();
    if (m_recorder.isOpen()) {
        m_recorder.close();
    }
}

void RecordingControl::tick()
{
    ++m_elapsed;
    const int limit = m_limit.value_or(2147483647);
    if (m_elapsed > limit) {
        m_sounds.play(Sound::RecordingStop);
        m_tick.stop();
        m_counterShown = false;
        emit counterChanged();
        return;
    }
    if (m_elapsed == limit) {
        m_tick.start(kLastTickMs);
        closeClip();
    }
    m_counterShown = true;
    emit counterChanged();
}

void RecordingControl::quickTick()
{
    ++m_elapsed;
    m_counterShown = true;
    emit counterChanged();
}

void RecordingControl::writeFailed(const QString& message)
{
    // What was written stays a playable clip; the user learns why it ends here.
    stop(Sound::RecordingStop);
    m_prompter.message(m_window, message, Prompter::Icon::Error);
}
