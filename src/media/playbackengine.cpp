#include "media/playbackengine.h"

#include <QDebug>

#include <algorithm>
#include <cmath>

PlaybackEngine::PlaybackEngine(QObject* parent)
    : QObject(parent)
{
    m_frameTimer.setSingleShot(true);
    m_frameTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_frameTimer, &QTimer::timeout, this, &PlaybackEngine::showDueFrames);
}

PlaybackEngine::~PlaybackEngine() = default;

bool PlaybackEngine::open(const QString& path)
{
    close();
    if (!m_decoder.open(path)) {
        qWarning().noquote() << "Cannot play" << path << ":" << m_decoder.errorText();
        return false;
    }
    m_position = 0;
    setState(PlaybackState::Paused);
    if (std::optional<ClipDecoder::Frame> first = m_decoder.next()) {
        emit frameReady(first->image);
    }
    m_upcoming = m_decoder.next();
    m_atEnd = !m_upcoming;
    return true;
}

void PlaybackEngine::close()
{
    m_frameTimer.stop();
    m_decoder.close();
    m_upcoming.reset();
    setState(PlaybackState::Closed);
}

double PlaybackEngine::currentPosition() const
{
    if (m_state != PlaybackState::Playing) {
        return m_position;
    }
    return std::min(duration(), m_position + static_cast<double>(m_clock.nsecsElapsed()) / 1e9);
}

void PlaybackEngine::run()
{
    if (m_state != PlaybackState::Paused) {
        return;
    }
    m_clock.start();
    setState(PlaybackState::Playing);
    showDueFrames();
}

void PlaybackEngine::pause()
{
    if (m_state != PlaybackState::Playing) {
        return;
    }
    m_position = currentPosition();
    m_frameTimer.stop();
    setState(PlaybackState::Paused);
}

void PlaybackEngine::seek(double seconds)
{
    if (m_state == PlaybackState::Closed) {
        return;
    }
    const double target = std::clamp(seconds, 0.0, duration());
    std::optional<ClipDecoder::Frame> frame = m_decoder.seek(target);
    if (!m_decoder.isOpen()) {
        close();  // the clip could not be read again: nothing is left to play
        return;
    }
    m_position = target;
    m_clock.start();
    if (frame) {
        emit frameReady(frame->image);
    }
    m_upcoming = m_decoder.next();
    m_atEnd = !m_upcoming;
    if (m_state == PlaybackState::Playing) {
        scheduleNextFrame();
    }
}

void PlaybackEngine::poll()
{
    if (m_state == PlaybackState::Playing) {
        showDueFrames();
    }
}

void PlaybackEngine::setState(PlaybackState state)
{
    if (state != m_state) {
        m_state = state;
        emit stateChanged(state);
    }
}

void PlaybackEngine::showDueFrames()
{
    if (m_state != PlaybackState::Playing) {
        return;
    }
    // When decoding falls behind the clock only the latest due picture is drawn.
    const double now = currentPosition();
    std::optional<QImage> due;
    while (m_upcoming && m_upcoming->seconds <= now) {
        due = std::move(m_upcoming->image);
        m_upcoming = m_decoder.next();
    }
    m_atEnd = !m_upcoming;
    if (due) {
        emit frameReady(*due);
    }
    scheduleNextFrame();
}

void PlaybackEngine::scheduleNextFrame()
{
    const double now = currentPosition();
    if (m_atEnd && now >= duration()) {
        m_frameTimer.stop();
        m_position = duration();
        setState(PlaybackState::Paused);
        emit complete();
        return;
    }
    // After the last picture the clip still runs to its full length before it completes.
    const double next = m_upcoming ? m_upcoming->seconds : duration();
    m_frameTimer.start(std::max(0, static_cast<int>(std::ceil((next - now) * 1000.0))));
}
