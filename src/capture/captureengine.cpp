#include "capture/captureengine.h"

CaptureEngine::CaptureEngine(QObject* parent)
    : QObject(parent)
{
}

CaptureEngine::~CaptureEngine() = default;

void CaptureEngine::setResolution(int width, int height)
{
    m_resolution = QSize(width, height);
    m_frameRateClass = frameRateClassFor(width);
    changeFormat(width, height);
}

int CaptureEngine::frameRateClassFor(int width)
{
    switch (width) {
    case 320: return 15;
    case 640: return 14;
    default: return 5;
    }
}

void CaptureEngine::enterFullScreen(const QSize& clientSize)
{
    m_livePicture.recreate(clientSize);
    m_fullScreen.store(true);
}

void CaptureEngine::leaveFullScreen(const QSize& normalSize)
{
    m_fullScreen.store(false);
    m_livePicture.recreate(normalSize);
}
