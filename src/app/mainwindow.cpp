#include "app/mainwindow.h"

#include "app/aboutdialog.h"
#include "app/appresources.h"
#include "app/keptscalemenu.h"
#include "app/recordingcontrol.h"
#include "app/stillcapture.h"
#include "capture/videosettingdialog.h"
#include "capture/videowindow.h"
#include "measure/measuresession.h"
#include "measure/scale.h"
#include "media/filecommands.h"
#include "media/mailsender.h"
#include "media/mailwindow.h"
#include "media/mediapaths.h"
#include "media/recorder.h"
#include "media/thumbnailgallery.h"
#include "media/timelapsedialog.h"
#include "media/videoplayer.h"
#include "photomeasure/keptcalibrationsdialog.h"
#include "photomeasure/photomeasureopener.h"
#include "platform/prompter.h"
#include "texts/localtext.h"
#include "ui/densepicture.h"
#include "ui/latchbitmapbutton.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <functional>
#include <utility>

namespace {

const QColor kLabelColor(0, 125, 255);

int tabIndex(GalleryTab tab)
{
    return tab == GalleryTab::Picture ? 0 : 1;
}

}  // namespace

MainWindow::MainWindow(MainContext context, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                              | Qt::WindowCloseButtonHint)
    , m_context(context)
    , m_fonts(InterfaceFonts::fromSystemFont())
{
    initAppResources();
    setWindowTitle(QStringLiteral("Quillon"));
    QIcon icon(QStringLiteral(":/app/quillon.png"));
    icon.addFile(QStringLiteral(":/app/quillon@2x.png"));
    setWindowIcon(icon);

    m_context.paths.createFolders();
    buildLayout();

    m_menus = new MainMenus(m_context.text, this);
    setMenuBar(m_menus->menuBar());
    // The compressor check of a recording leaves this behind when it is cut short.
    QFile::remove(m_context.paths.videoFolder() + QStringLiteral("/test.avi"));
    m_video->setEscHint(m_context.text.read(Text::EscRestore));
    connectCommands();

    m_reconnect.setSingleShot(true);
    connect(&m_reconnect, &QTimer::timeout, this, [this] { connectCheck(); });
    // A stream that ended on its own is checked once the engine has stopped it.
    connect(&m_context.engine, &CaptureEngine::streamLost, this, [this] { connectCheck(); }, Qt::QueuedConnection);
    tryCameraAtStart();
    // Told once the window is up, whichever window looks at the kept calibrations first.
    QMetaObject::invokeMethod(this, [this] {
        KeptCalibrationsDialog::tellProblem(m_context.calibrations, m_context.text, m_context.prompter, this);
    }, Qt::QueuedConnection);

    m_toolBar->createToolTips(m_context.text, *this);
    addKeys();

    // No sizing border: the client area is the background picture, the menu bar above it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        resize(sizeHint());
        move(screen->availableGeometry().center() - rect().center());
    }
}

MainWindow::~MainWindow()
{
    m_reconnect.stop();
    m_context.engine.takeDown();
}

void MainWindow::buildLayout()
{
    m_background = densePixmap(QStringLiteral(":/app/background.png"), qApp->devicePixelRatio());
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setFixedSize(kClientSize);
    m_client->installEventFilter(this);
    setCentralWidget(m_client);

    m_video = new VideoWindow(m_context.engine, m_client);
    m_video->setTextFont(m_fonts.large);

    m_gallery = new ThumbnailGallery(m_context.paths, m_client);
    m_gallery->move(8, 120);
    m_gallery->buildLists();
    m_tabHeaders[0] = ThumbnailGallery::tabHeaderPicture(GalleryTab::Picture);
    m_tabHeaders[1] = ThumbnailGallery::tabHeaderPicture(GalleryTab::Clip);

    m_toolBar = std::make_unique<MainToolBar>(*m_client);
    m_scaleLabel = m_context.text.read(Text::Rate);
    // Only the user's own typing unbacks the value; setText from a calibration does not
    // emit textEdited.
    connect(m_toolBar->scaleBox, &QLineEdit::textEdited, &m_calibration, &CalibrationInForce::clear);
    m_keptScales = new KeptScaleMenu(*m_toolBar->scaleChoice, m_context.calibrations, m_context.text,
                                     m_context.prompter);
    connect(m_keptScales, &KeptScaleMenu::chosen, this, &MainWindow::useKept);

    new StillCapture(m_context.engine, m_context.paths, m_context.prompter, m_context.sounds, *m_gallery,
                     [this] { return m_toolBar->scaleBox->text(); }, this);
    m_recorder = std::make_unique<Recorder>(m_context.paths, m_context.text, m_context.prompter);
    m_recording = new RecordingControl(m_context.engine, *m_recorder, m_context.text, m_context.prompter,
                                       m_context.sounds, this);
    connect(m_recorder.get(), &Recorder::clipClosed, m_gallery, &ThumbnailGallery::addClip);
    connect(m_recording, &RecordingControl::counterChanged, this,
            [this] { m_client->update(RecordingControl::kCounterRect); });
    m_fileCommands = std::make_unique<FileCommands>(*m_gallery, m_context.paths, m_context.text,
                                                    m_context.prompter, this);
    m_mailSender = std::make_unique<MailSender>(m_context.mailClient, m_context.text, m_context.prompter);
}

void MainWindow::connectCommands()
{
    connect(m_menus, &MainMenus::commandChosen, this, &MainWindow::runCommand);
    connect(&m_context.engine, &CaptureEngine::stateChanged, this, &MainWindow::showCaptureState);
    // A bring-up can change the capture size too (from CapConfig.dat, or to what the camera
    // accepts); every size change passes through a state change.
    connect(&m_context.engine, &CaptureEngine::stateChanged, this, &MainWindow::updateScaleBar);
    connect(&m_calibration, &CalibrationInForce::changed, this, &MainWindow::updateScaleBar);

    MainToolBar& bar = *m_toolBar;
    connect(bar.preview, &QAbstractButton::clicked, this, &MainWindow::previewOnOff);
    connect(bar.camera, &QAbstractButton::clicked, this, &MainWindow::takePicture);
    connect(bar.video, &QAbstractButton::clicked, this, &MainWindow::takeVideo);
    connect(bar.clock, &QAbstractButton::clicked, this, &MainWindow::timeLapse);
    connect(bar.setting, &QAbstractButton::clicked, this, &MainWindow::videoSettings);
    connect(bar.save, &QAbstractButton::clicked, this, [this] { runCommand(MainCommand::SaveAs); });
    connect(bar.email, &QAbstractButton::clicked, this, [this] { runCommand(MainCommand::EMail); });

    connect(m_video, &VideoWindow::doubleClicked, this, [this] {
        if (isFullScreenView()) {
            leaveFullScreen();
        } else {
            enterFullScreen();
        }
    });
    connect(m_video, &VideoWindow::contextMenuRequested, this, &MainWindow::showOverlayMenu);

    // The gallery's requests arrive after its own click handling has finished, as posted
    // notifications would.
    connect(m_gallery, &ThumbnailGallery::openPictureRequested, this, &MainWindow::openPicture,
            Qt::QueuedConnection);
    connect(m_gallery, &ThumbnailGallery::openClipRequested, this, &MainWindow::openClip, Qt::QueuedConnection);
    connect(m_gallery, &ThumbnailGallery::contextMenuRequested, this,
            [this](const QPoint& globalPosition) { m_menus->galleryMenu()->popup(globalPosition); });
    connect(m_gallery, &ThumbnailGallery::tabShown, this, [this] {
        m_client->update(QRect(ThumbnailGallery::tabHeaderPosition(), m_tabHeaders[0].deviceIndependentSize().toSize()));
    });
}

// ---- camera state -------------------------------------------------------------------------------

void MainWindow::tryCameraAtStart()
{
    const CaptureEngine::StartResult result = m_context.engine.bringUp();
    if (result == CaptureEngine::StartResult::Running) {
        showConnected();
        return;
    }
    if (result == CaptureEngine::StartResult::BuildFailed) {
        m_reconnect.start(kBuildRetryMs);
    }
    m_context.engine.takeDown();
    showDisconnected(result == CaptureEngine::StartResult::PermissionDenied ? Text::CameraNoPermission
                                                                            : Text::ConnectMsg);
}

bool MainWindow::connectCheck()
{
    CaptureEngine& engine = m_context.engine;
    if (engine.isRunning() && engine.stillPresent()) {
        engine.rescan();
        if (m_videoSetting) {
            m_videoSetting->refresh();
        }
        return true;
    }
    if (m_videoSetting) {
        QMetaObject::invokeMethod(m_videoSetting.data(), &VideoSettingDialog::refresh, Qt::QueuedConnection);
    }
    engine.takeDown();
    const CaptureEngine::StartResult result = engine.bringUp();
    if (result == CaptureEngine::StartResult::Running) {
        showConnected();
        return true;
    }
    engine.takeDown();
    showDisconnected(result == CaptureEngine::StartResult::PermissionDenied ? Text::CameraNoPermission
                                                                            : Text::ConnectMsg);
    return false;
}

void MainWindow::deviceChangeNotice(DeviceChange change, bool describesInterface)
{
    switch (change) {
    case DeviceChange::NodesChanged:
        // A plug-in comes as a burst of these; check once the burst is over.
        m_reconnect.start(kDeviceSettleMs);
        break;
    case DeviceChange::Arrival:
        if (describesInterface) {
            connectCheck();
        }
        break;
    case DeviceChange::RemovalComplete:
        connectCheck();
        break;
    case DeviceChange::Other:
        break;
    }
}

void MainWindow::showConnected()
{
    m_toolBar->setButtonsEnabled(true);
    m_video->setStatusMessage(QString());
    m_connected = true;
    m_video->update();
}

void MainWindow::showDisconnected(const TextEntry& message)
{
    m_toolBar->setButtonsEnabled(false);
    m_video->setStatusMessage(m_context.text.read(message));
    m_connected = false;
    m_video->update();
}

void MainWindow::showCaptureState(CaptureState state)
{
    m_toolBar->preview->setLatched(state == CaptureState::Previewing);
    m_toolBar->video->setLatched(state == CaptureState::Recording);
}

void MainWindow::addKeys()
{
    const std::pair<Qt::Key, std::function<void()>> keys[] = {
        {Qt::Key_F2, [this] { takePicture(); }},
        {Qt::Key_F3, [this] { m_recording->startQuickly(); }},
        {Qt::Key_F4, [this] { m_recording->stopByKey(); }},
        {Qt::Key_F11, [this] { setResolution(640, 480); }},
        {Qt::Key_F12, [this] { setResolution(1280, 1024); }},
        {Qt::Key_Escape, [this] { leaveFullScreen(); }},
        // Taken so that no control of the window acts on them: Enter never closes anything.
        {Qt::Key_Return, [] {}},
        {Qt::Key_Enter, [] {}},
    };
    for (const auto& [key, command] : keys) {
        // On the window itself, so the keys work with the menu bar and the buttons hidden too.
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(key));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, command);
        addAction(action);
    }
}

// ---- events ---------------------------------------------------------------------------------------

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_client) {
        return QMainWindow::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::Paint:
        paintClient(static_cast<QPaintEvent*>(event)->rect());
        return true;
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            clientPressed(mouse->position().toPoint());
        }
        break;
    }
    case QEvent::Resize:
        followClientSize();
        break;
    default:
        break;
    }
    return false;
}

void MainWindow::paintClient(const QRect& area)
{
    QPainter painter(m_client);
    // The source rectangle counts the picture's own pixels, twice as many on a dense screen.
    const qreal ratio = m_background.devicePixelRatio();
    painter.drawPixmap(QRectF(area), m_background,
                       QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
    painter.drawImage(ThumbnailGallery::tabHeaderPosition(), m_tabHeaders[tabIndex(m_gallery->currentTab())]);
    painter.setPen(kLabelColor);
    painter.setFont(m_fonts.medium);
    const QFontMetrics medium(m_fonts.medium);
    painter.drawText(kScaleLabelPosition + QPoint(0, medium.ascent()), m_scaleLabel);
    painter.setFont(m_fonts.small);
    const QFontMetrics small(m_fonts.small);
    painter.drawText(kResolutionLabelRect.topLeft() + QPoint(0, small.ascent()),
                     resolutionText(m_context.engine.resolution()));
    if (const std::optional<QString> counter = m_recording->counterText()) {
        painter.setPen(QColor(0, 255, 0));
        painter.setFont(m_fonts.large);
        painter.drawText(RecordingControl::kCounterRect.topLeft() + QPoint(1, 1 + QFontMetrics(m_fonts.large).ascent()),
                         *counter);
    }
}

void MainWindow::clientPressed(const QPoint& position)
{
    for (const GalleryTab tab : {GalleryTab::Clip, GalleryTab::Picture}) {
        if (ThumbnailGallery::tabArea(tab).contains(position)) {
            m_gallery->showTab(tab);
            return;
        }
    }
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || m_switching) {
        return;
    }
    const Qt::WindowStates state = windowState();
    if (state.testFlag(Qt::WindowMinimized)) {
        return;
    }
    // The maximise button asks for the full-screen view; the restore command leaves it.
    // Both are acted on after the platform has finished its own change.
    if (!isFullScreenView() && state.testFlag(Qt::WindowMaximized)) {
        QMetaObject::invokeMethod(this, &MainWindow::enterFullScreen, Qt::QueuedConnection);
    } else if (isFullScreenView() && !state.testFlag(Qt::WindowFullScreen)) {
        QMetaObject::invokeMethod(this, &MainWindow::leaveFullScreen, Qt::QueuedConnection);
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    m_reconnect.stop();
    m_context.engine.takeDown();
    QMainWindow::closeEvent(event);
}

// ---- full screen ----------------------------------------------------------------------------------

void MainWindow::enterFullScreen()
{
    if (isFullScreenView()) {
        return;
    }
    m_switching = true;
    m_normal = {geometry(), windowFlags(), windowTitle()};
    m_toolBar->setShownInNormalLayout(false);
    m_gallery->hide();
    menuBar()->hide();
    layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    m_client->setMinimumSize(0, 0);
    m_client->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);

    const QRect screenArea = screen()->geometry();
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setGeometry(screenArea);
    showFullScreen();
    m_video->setGeometry(QRect(QPoint(0, 0), screenArea.size()));
    m_context.engine.enterFullScreen(m_video->size(), m_video->devicePixelRatioF());
    m_switching = false;
    m_video->update();
}

void MainWindow::leaveFullScreen()
{
    if (!isFullScreenView()) {
        return;
    }
    m_switching = true;
    hide();
    setWindowFlags(m_normal.flags);
    setWindowState(Qt::WindowNoState);
    setWindowTitle(m_normal.title);
    m_client->setFixedSize(kClientSize);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    m_video->setGeometry(VideoWindow::kNormalGeometry);
    setGeometry(m_normal.geometry);
    show();
    m_toolBar->setShownInNormalLayout(true);
    m_gallery->show();
    m_context.engine.leaveFullScreen(VideoWindow::kNormalGeometry.size(), m_video->devicePixelRatioF());
    m_gallery->redraw();
    menuBar()->show();
    m_switching = false;
    m_video->update();
}

void MainWindow::followClientSize()
{
    // With a window manager the full-screen size arrives later than asked for.
    if (!m_switching && isFullScreenView() && m_video->size() != m_client->size()) {
        m_video->setGeometry(m_client->rect());
        m_context.engine.enterFullScreen(m_video->size(), m_video->devicePixelRatioF());
    }
}

// ---- commands -------------------------------------------------------------------------------------

void MainWindow::runCommand(MainCommand command)
{
    switch (command) {
    case MainCommand::Open: openSelected(); break;
    case MainCommand::SaveAs: m_fileCommands->saveAs(); break;
    case MainCommand::SaveAll: m_fileCommands->saveAll(); break;
    case MainCommand::Delete: m_fileCommands->deleteSelected(); break;
    case MainCommand::DeleteAll: m_fileCommands->deleteAll(); break;
    case MainCommand::EMail: MailWindow::mail(*m_mailSender, m_gallery->selectedPath(), this); break;
    case MainCommand::Resolution640: setResolution(640, 480); break;
    case MainCommand::Resolution1280: setResolution(1280, 1024); break;
    case MainCommand::VideoSettings: videoSettings(); break;
    case MainCommand::CrossLine: toggleOverlay(Overlay::CrossLine); break;
    case MainCommand::Scale: toggleOverlay(Overlay::Scale); break;
    case MainCommand::Circle: toggleOverlay(Overlay::Circles); break;
    case MainCommand::Time: toggleOverlay(Overlay::TimeStamp); break;
    case MainCommand::ScaleBar: toggleOverlay(Overlay::ScaleBar); break;
    case MainCommand::TakePicture: takePicture(); break;
    case MainCommand::TakeVideo: takeVideo(); break;
    case MainCommand::TimeLapse: timeLapse(); break;
    case MainCommand::About: about(); break;
    case MainCommand::KeptCalibrations: m_keptScales->showList(); break;
    }
}

void MainWindow::takePicture()
{
    if (m_context.engine.isRunning()) {
        m_context.engine.requestStill();
        return;
    }
    warn(Text::BrowseToCamera);
}

void MainWindow::takeVideo()
{
    m_recording->startOrStopWithDialog();
}

void MainWindow::previewOnOff()
{
    CaptureEngine& engine = m_context.engine;
    if (engine.state() == CaptureState::Previewing) {
        engine.stop();
    } else {
        m_recording->stopByKey();
        engine.start();
    }
}

void MainWindow::timeLapse()
{
    if (!m_context.engine.isRunning()) {
        warn(Text::BrowseToTimer);
        return;
    }
    CaptureEngine& engine = m_context.engine;
    const QSize frames = engine.frameSize().isEmpty() ? engine.resolution() : engine.frameSize();
    TimeLapseDialog dialog([&engine] { engine.requestStill(); }, frames.width() * frames.height() * 3,
                           m_context.text, m_context.prompter, this);
    dialog.exec();
}

void MainWindow::videoSettings()
{
    VideoSettingDialog dialog(m_context.engine, m_context.text,
                              [this](int width, int height) { setResolution(width, height); }, this);
    m_videoSetting = &dialog;
    dialog.exec();
}

void MainWindow::setResolution(int width, int height)
{
    // A clip holds frames of one size: it ends before the size changes.
    m_recording->stopByKey();
    m_context.engine.setResolution(width, height);
    updateScaleBar();
    m_client->update(kResolutionLabelRect);
}

void MainWindow::toggleOverlay(Overlay overlay)
{
    if (!m_connected) {
        return;
    }
    m_context.engine.overlays().toggle(overlay);
    m_video->update();
}

void MainWindow::updateScaleBar()
{
    // A calibration holds only for pictures of the size it was made on; at any other size
    // the bar is left out rather than drawn at a wrong length.
    const QSize size = m_context.engine.resolution();
    std::optional<PictureScale> scale;
    if (const std::optional<Calibration> calibration = m_calibration.forSize(size.width(), size.height())) {
        scale = PictureScale{kBasePixelLength * 10.0 / calibration->value, size};
    }
    m_context.engine.overlays().setPictureScale(scale);
    m_video->update();
}

void MainWindow::showOverlayMenu(const QPoint& globalPosition)
{
    int chosen = 0;
    {
        const std::unique_ptr<QMenu> menu = MainMenus::makeOverlayMenu(m_context.text, this);
        if (const QAction* action = menu->exec(globalPosition)) {
            chosen = action->data().toInt();
        }
    }
    if (chosen != 0) {
        runCommand(static_cast<MainCommand>(chosen));
    }
}

void MainWindow::openSelected()
{
    if (!m_gallery->openSelected()) {
        warn(Text::SelectFile);
    }
}

void MainWindow::openPicture(const QString& path)
{
    const PhotoMeasureContext context{m_context.session, m_context.photoMeasure, m_context.text, m_context.prompter,
                                      m_context.calibrations};
    runPhotoMeasure(path, context, this, [this] { showCalibration(); });
}

void MainWindow::openClip(const QString& path)
{
    VideoPlayer player(path, m_context.text, m_context.prompter, this);
    player.exec();
}

void MainWindow::showCalibration()
{
    const double value = m_context.session.calibrationValue();
    m_toolBar->scaleBox->setText(QString::asprintf("%0.1f", value));
    m_calibration.set({value, m_context.session.pictureWidth(), m_context.session.pictureHeight()});
}

// The scale box and what it stands for, as a calibration on the kept entry's picture size
// would leave them.
void MainWindow::useKept(const KeptCalibration& entry)
{
    m_context.session.useCalibration(entry.value);
    m_context.session.setActualDistance(entry.distance);
    m_toolBar->scaleBox->setText(QString::asprintf("%0.1f", entry.value));
    m_calibration.set({entry.value, entry.width, entry.height});
}

void MainWindow::about()
{
    AboutDialog dialog(m_context.text, this);
    dialog.exec();
}

void MainWindow::warn(const TextEntry& text)
{
    m_context.prompter.message(this, m_context.text.read(text), Prompter::Icon::Warning);
}

QString MainWindow::resolutionText(const QSize& resolution)
{
    return QString::asprintf("%d%s%d", resolution.width(), "*", resolution.height());
}
