#include "app/stillcapture.h"

#include "capture/captureengine.h"
#include "media/medianames.h"
#include "media/mediapaths.h"
#include "media/stillwriter.h"
#include "media/thumbnailgallery.h"
#include "platform/prompter.h"
#include "platform/soundplayer.h"
#include "platform/systemerror.h"

StillCapture::StillCapture(CaptureEngine& engine, MediaPaths& paths, Prompter& prompter, SoundPlayer& sounds,
                           ThumbnailGallery& gallery, std::function<QString()> scaleText, QWidget* window)
    : QObject(window)
    , m_engine(engine)
    , m_paths(paths)
    , m_prompter(prompter)
    , m_sounds(sounds)
    , m_gallery(gallery)
    , m_scaleText(std::move(scaleText))
    , m_window(window)
{
    connect(&m_engine, &CaptureEngine::stillReady, this, &StillCapture::serve, Qt::QueuedConnection);
}

bool StillCapture::serve(bool fromSnapshot)
{
    const QString scaleText = StillWriter::nameSafeScaleText(m_scaleText());
    QSize size;
    const std::vector<std::uint8_t> frame = m_engine.lastFrame(&size);
    bool written = false;
    // Notices keep coming while the request stands; the first one takes it.
    if (m_engine.isStillRequested()) {
        m_engine.clearStillRequest();
        const QString path = MediaNames(m_paths, m_prompter, m_clock).makeStillName(scaleText);
        const StillWriter::Result result = StillWriter::write(path, frame, size);
        written = result.written;
        if (written) {
            m_gallery.addStill(path);
            if (fromSnapshot || m_engine.isRecording()) {
                m_engine.restart();
            }
        } else {
            // The picture was not taken: say why instead of leaving the user to find no file.
            m_prompter.message(m_window, path + QStringLiteral("\n") + systemErrorText(result.errorNumber),
                               Prompter::Icon::Error);
        }
    }
    m_sounds.play(Sound::Shutter);
    return written;
}
