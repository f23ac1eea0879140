#include "capture/captureengine.h"

#include "capture/framestretch.h"
#include "capture/overlaypainter.h"
#include "platform/videodevices.h"

#include <QDateTime>
#include <QPainter>

#include <algorithm>
#include <cstring>

CaptureEngine::CaptureEngine(std::vector<VideoDevices*> lists, std::filesystem::path configFile, QObject* parent)
    : QObject(parent)
    , m_lists(std::move(lists))
    , m_configFile(std::move(configFile))
    , m_controls(m_configFile.parent_path() / kControlsFileName)
{
    // The streaming thread only marks the loss; the main thread stops the stream.
    connect(this, &CaptureEngine::streamLost, this, &CaptureEngine::takeStreamLoss, Qt::QueuedConnection);
}

CaptureEngine::~CaptureEngine()
{
    takeDown();
}

void CaptureEngine::setState(CaptureState state)
{
    if (state != m_state) {
        m_state = state;
        emit stateChanged(state);
    }
}

// ---- devices -------------------------------------------------------------------------------------

std::vector<ListedDevice> CaptureEngine::listDevices()
{
    std::vector<ListedDevice> found;
    for (std::size_t list = 0; list < m_lists.size(); ++list) {
        if (const auto devices = m_lists[list]->list()) {
            for (const VideoDevice& device : *devices) {
                found.push_back({device, static_cast<int>(list)});
            }
        }
    }
    return found;
}

bool CaptureEngine::rescan()
{
    return m_devices.scanAndChoose(listDevices());
}

bool CaptureEngine::stillPresent()
{
    if (m_devices.selectedIdentifier().empty()) {
        return false;
    }
    const std::string hardwareId = "USB\\" + m_devices.selectedIdentifier();
    for (VideoDevices* list : m_lists) {
        if (list->isPresent(hardwareId)) {
            return true;
        }
    }
    m_devices.clearSelectedIdentifier();
    return false;
}

bool CaptureEngine::switchDevice(int index)
{
    const auto& records = m_devices.records();
    if (index < 0 || index >= static_cast<int>(records.size()) || index == m_devices.currentIndex()) {
        return false;
    }
    takeDown();
    m_devices.select(index);
    if (!(setUp() && build() && start())) {
        return false;
    }
    applyStoredControls();
    return true;
}

// ---- pipeline ------------------------------------------------------------------------------------

CaptureEngine::StartResult CaptureEngine::bringUp()
{
    if (!rescan()) {
        return StartResult::Failed;
    }
    switch (openCurrent()) {
    case CameraSource::OpenResult::Opened: break;
    case CameraSource::OpenResult::PermissionDenied: return StartResult::PermissionDenied;
    case CameraSource::OpenResult::Failed: return StartResult::Failed;
    }
    if (!build()) {
        return StartResult::BuildFailed;
    }
    if (!start()) {
        return StartResult::Failed;
    }
    applyStoredControls();
    return StartResult::Running;
}

bool CaptureEngine::setControl(PictureControl control, int value, bool automatic)
{
    if (!m_camera || !m_camera->setControl(control, value, automatic)) {
        return false;
    }
    if (const DeviceRecord* record = m_devices.current()) {
        m_controls.remember(record->listed.device.key, control, {value, automatic});
    }
    return true;
}

void CaptureEngine::applyStoredControls()
{
    const DeviceRecord* record = m_devices.current();
    if (!m_camera || record == nullptr) {
        return;
    }
    for (const auto& [control, setting] : m_controls.controls(record->listed.device.key)) {
        // A control this camera lacks (another firmware, a stored value from an older camera
        // on the same port) is simply not set; a range that shrank takes its nearest value.
        const std::optional<ControlRange> range = m_camera->controlRange(control);
        if (!range || range->minimum > range->maximum) {
            continue;
        }
        m_camera->setControl(control, std::clamp(setting.value, range->minimum, range->maximum), setting.automatic);
    }
}

bool CaptureEngine::setUp()
{
    return m_state != CaptureState::NoCamera || openCurrent() == CameraSource::OpenResult::Opened;
}

CameraSource::OpenResult CaptureEngine::openCurrent()
{
    const DeviceRecord* record = m_devices.current();
    if (record == nullptr) {
        return CameraSource::OpenResult::Failed;
    }
    std::unique_ptr<CameraSource> camera = m_lists[record->listed.list]->makeSource(record->listed.device);
    if (!camera) {
        return CameraSource::OpenResult::Failed;
    }
    const CameraSource::OpenResult result = camera->open();
    if (result == CameraSource::OpenResult::Opened) {
        m_camera = std::move(camera);
        setState(CaptureState::Opened);
    }
    return result;
}

bool CaptureEngine::build()
{
    switch (m_state) {
    case CaptureState::NoCamera: return false;
    case CaptureState::Opened: break;
    case CaptureState::Ready: return true;
    case CaptureState::Previewing:
    case CaptureState::Recording: return false;
    }
    if (!applyFormat()) {
        return false;
    }
    setState(CaptureState::Ready);
    return true;
}

bool CaptureEngine::applyFormat()
{
    const std::optional<DeviceFormat> current = m_camera->format();
    if (!current) {
        return false;
    }
    m_format = CaptureFormat::fromDevice(*current);
    if (const std::optional<CaptureFormat> stored = readCaptureConfig(m_configFile)) {
        m_format = *stored;
        m_resolution = QSize(stored->width, stored->height);
        // Clips store their rate by this class: it follows the size the camera starts in too.
        m_frameRateClass = frameRateClassFor(stored->width);
    } else {
        m_format.applyDefault();
    }
    if (m_camera->setFormat(m_format.request())) {
        return true;
    }
    m_format = CaptureFormat::fromDevice(*current);
    m_format.applyDefault();
    if (m_camera->setFormat(m_format.request())) {
        // The label shows what streams, not the refused size of the file.
        m_resolution = QSize(m_format.width, m_format.height);
        m_frameRateClass = frameRateClassFor(m_format.width);
        return true;
    }
    // Neither the stored nor the default size: the camera streams in the size it had, and
    // the record and the resolution label say so instead of naming a size nobody delivers.
    const std::optional<DeviceFormat> kept = m_camera->format();
    if (!kept) {
        return false;
    }
    m_format = CaptureFormat::fromDevice(*kept);
    m_resolution = QSize(kept->width, kept->height);
    m_frameRateClass = frameRateClassFor(kept->width);
    return true;
}

bool CaptureEngine::start()
{
    if (isRunning()) {
        return true;
    }
    if (m_state != CaptureState::Ready) {
        return false;
    }
    m_streamLost.store(false);
    const bool started = m_camera->startStreaming([this](const CameraFrame& frame) { handleFrame(frame); },
                                                  [this] { handleSnapshot(); },
                                                  [this] {
                                                      m_streamLost.store(true);
                                                      emit streamLost();
                                                  });
    if (!started) {
        m_camera->stopStreaming();
        return false;
    }
    setState(CaptureState::Previewing);
    return true;
}

bool CaptureEngine::stop()
{
    stopRecording();
    if (m_camera) {
        m_camera->stopStreaming();
    }
    if (isRunning()) {
        setState(CaptureState::Ready);
    }
    return true;
}

void CaptureEngine::restart()
{
    FrameSink* sink = nullptr;
    {
        const std::lock_guard lock(m_recordingLock);
        sink = m_sink;
    }
    stop();
    build();
    // A recording goes on into the same clip after the gap.
    if (start() && sink != nullptr) {
        startRecording(*sink);
    }
}

void CaptureEngine::takeStreamLoss()
{
    // A stream that ended on its own is no longer running: the connect check must not keep
    // it as it is.
    if (m_streamLost.exchange(false) && isRunning()) {
        stop();
    }
}

void CaptureEngine::takeDown()
{
    stop();
    m_camera.reset();
    m_livePicture.release();
    {
        const std::lock_guard lock(m_lastFrameLock);
        m_lastFrame = {};
        m_lastFrameSize = {};
    }
    m_frameWidth.store(0);
    m_frameHeight.store(0);
    setState(CaptureState::NoCamera);
}

// ---- format --------------------------------------------------------------------------------------

int CaptureEngine::frameRateClassFor(int width)
{
    switch (width) {
    case 320: return 15;
    case 640: return 14;
    default: return 5;
    }
}

void CaptureEngine::setResolution(int width, int height)
{
    m_resolution = QSize(width, height);
    m_frameRateClass = frameRateClassFor(width);
    if (m_state == CaptureState::NoCamera) {
        return;
    }
    const bool wasRunning = isRunning();
    stop();
    setState(CaptureState::Opened);
    if (const std::optional<DeviceFormat> current = m_camera->format()) {
        m_format = CaptureFormat::fromDevice(*current);
        m_format.resize(width, height);
        writeCaptureConfig(m_configFile, m_format);
    }
    if (build() && wasRunning) {
        start();
    }
}

void CaptureEngine::setFrameRate(int rate)
{
    m_format.setFrameRate(rate);
}

// ---- recording -----------------------------------------------------------------------------------

bool CaptureEngine::startRecording(FrameSink& sink)
{
    if (m_state != CaptureState::Previewing) {
        return false;
    }
    {
        const std::lock_guard lock(m_recordingLock);
        m_sink = &sink;
    }
    setState(CaptureState::Recording);
    return true;
}

void CaptureEngine::stopRecording()
{
    {
        const std::lock_guard lock(m_recordingLock);
        m_sink = nullptr;
    }
    if (m_state == CaptureState::Recording) {
        setState(CaptureState::Previewing);
    }
}

// ---- frames --------------------------------------------------------------------------------------

void CaptureEngine::handleSnapshot()
{
    m_stillRequested.store(true);
    m_skipFrame.store(true);
}

void CaptureEngine::handleFrame(const CameraFrame& frame)
{
    // A frame whose bytes do not hold its size is not looked at: it would be read past its
    // end here and written short as a still.
    if (frame.bytes == nullptr || frame.width <= 0 || frame.height <= 0
        || frame.length < std::size_t(frame.width) * std::size_t(frame.height) * 3) {
        return;
    }
    m_frameWidth.store(frame.width);
    m_frameHeight.store(frame.height);

    // Still handling: the last frame before a request is the still, or, for the camera's
    // button, the frame after the next one.
    bool keep = false;
    bool post = false;
    bool fromSnapshot = false;
    if (!m_stillRequested.load()) {
        keep = true;
    } else if (m_skipFrame.exchange(false)) {
        m_snapshotPending.store(true);
    } else {
        fromSnapshot = m_snapshotPending.exchange(false);
        keep = fromSnapshot;
        post = true;
    }
    {
        const std::lock_guard lock(m_lastFrameLock);
        // A request made before the first frame takes that frame: there is no earlier one.
        if (keep || (post && m_lastFrame.empty())) {
            m_lastFrame.assign(frame.bytes, frame.bytes + std::size_t(frame.width) * frame.height * 3);
            m_lastFrameSize = QSize(frame.width, frame.height);
        }
    }
    // Only once the frame is kept: the writer reads it as soon as it hears.
    if (post) {
        emit stillReady(fromSnapshot);
    }

    {
        const std::lock_guard lock(m_recordingLock);
        if (m_sink != nullptr) {
            m_sink->writeFrame(frame);
        }
    }

    bool shown = false;
    m_livePicture.write([&](QImage& picture) {
        shown = stretchFrame(frame, picture);
        if (shown) {
            QPainter painter(&picture);
            paintOverlays(painter, picture.deviceIndependentSize().toSize(), m_overlays,
                          QDateTime::currentDateTime(), QSize(frame.width, frame.height));
        }
    });
    if (shown) {
        emit liveViewChanged();
    }
}

std::vector<std::uint8_t> CaptureEngine::lastFrame(QSize* size) const
{
    const std::lock_guard lock(m_lastFrameLock);
    if (size != nullptr) {
        *size = m_lastFrameSize;
    }
    return m_lastFrame;
}

// ---- full screen ---------------------------------------------------------------------------------

void CaptureEngine::enterFullScreen(const QSize& clientSize, qreal ratio)
{
    m_livePicture.recreate(clientSize, ratio);
    m_fullScreen.store(true);
}

void CaptureEngine::leaveFullScreen(const QSize& normalSize, qreal ratio)
{
    m_fullScreen.store(false);
    m_livePicture.recreate(normalSize, ratio);
}
