#pragma once

#include "app/calibrationinforce.h"
#include "app/interfacefonts.h"
#include "app/maincontext.h"
#include "app/mainmenus.h"
#include "app/maintoolbar.h"
#include "capture/captureengine.h"
#include "platform/devicechange.h"

#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <memory>

class FileCommands;
class KeptScaleMenu;
struct KeptCalibration;
class MailSender;
class Recorder;
class RecordingControl;
class ThumbnailGallery;
class VideoSettingDialog;
class VideoWindow;
struct TextEntry;

/// The program's main window: the tool-bar buttons, the live video window, the gallery with
/// its tab headers, the menus and keys. It routes every command to the part that carries it
/// out, keeps the camera-connected flag, shows the engine's capture state on the Preview and
/// Video buttons and switches the live view to full screen and back.
///
/// Keys F2, F3, F4, F11 and F12 work wherever the focus is in the window; Esc only leaves
/// full screen and Enter does nothing (neither ever closes the window).
///
/// Threads: everything here - widgets, timers, the connect check, the capture state - belongs
/// to the GUI thread. Frames cross threads only inside the CaptureEngine.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    /// The client area of the normal layout: the size of the background picture.
    static constexpr QSize kClientSize{870, 546};
    /// Where the "Scale:" label's text starts.
    static constexpr QPoint kScaleLabelPosition{755, 6};
    /// The resolution label; a resolution change repaints just this.
    static constexpr QRect kResolutionLabelRect{260, 515, 75, 12};
    /// How long a burst of device-tree changes must be quiet before the camera is checked.
    static constexpr int kDeviceSettleMs = 1000;
    /// Retry delay after the camera was found but its pipeline could not be built at start.
    static constexpr int kBuildRetryMs = 100;

    explicit MainWindow(MainContext context, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// A microscope is found and its pipeline runs.
    bool isConnected() const { return m_connected; }
    bool isFullScreenView() const { return m_context.engine.isFullScreen(); }

    /// Re-evaluates the camera: keeps a running one that is still plugged in, otherwise
    /// takes the pipeline down and tries to bring the microscope up. Returns whether a
    /// microscope runs afterwards.
    bool connectCheck();
    /// The system's report of a device change.
    void deviceChangeNotice(DeviceChange change, bool describesInterface);
    /// The Video Setting dialog (modal).
    void videoSettings();

    void runCommand(MainCommand command);
    void enterFullScreen();
    void leaveFullScreen();
    /// The hidden Preview button's command: stops a running preview, or starts it.
    void previewOnOff();

    /// "%d%s%d" of the capture resolution, e.g. "1280*1024".
    static QString resolutionText(const QSize& resolution);

    MainToolBar& toolBar() { return *m_toolBar; }
    MainMenus& menus() { return *m_menus; }
    VideoWindow* videoWindow() const { return m_video; }
    ThumbnailGallery* gallery() const { return m_gallery; }
    QWidget* clientArea() const { return m_client; }
    const InterfaceFonts& fonts() const { return m_fonts; }
    CalibrationInForce& calibration() { return m_calibration; }
    KeptScaleMenu& keptScales() { return *m_keptScales; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void connectCommands();
    void tryCameraAtStart();
    void showConnected();
    void showDisconnected(const TextEntry& message);
    void showCaptureState(CaptureState state);
    void addKeys();

    void paintClient(const QRect& area);
    void clientPressed(const QPoint& position);
    void followClientSize();

    void takePicture();
    void takeVideo();
    void timeLapse();
    void setResolution(int width, int height);
    void toggleOverlay(Overlay overlay);
    void updateScaleBar();
    void showOverlayMenu(const QPoint& globalPosition);
    void openSelected();
    void openPicture(const QString& path);
    void openClip(const QString& path);
    void showCalibration();
    void useKept(const KeptCalibration& entry);
    void about();
    void warn(const TextEntry& text);

    struct NormalLayout {
        QRect geometry;
        Qt::WindowFlags flags;
        QString title;
    };

    MainContext m_context;
    InterfaceFonts m_fonts;
    QWidget* m_client = nullptr;
    VideoWindow* m_video = nullptr;
    ThumbnailGallery* m_gallery = nullptr;
    std::unique_ptr<MainToolBar> m_toolBar;
    MainMenus* m_menus = nullptr;
    KeptScaleMenu* m_keptScales = nullptr;
    std::unique_ptr<FileCommands> m_fileCommands;
    std::unique_ptr<MailSender> m_mailSender;
    std::unique_ptr<Recorder> m_recorder;
    RecordingControl* m_recording = nullptr;
    QPixmap m_background;
    QImage m_tabHeaders[2];
    QString m_scaleLabel;
    CalibrationInForce m_calibration;
    NormalLayout m_normal;
    bool m_connected = false;
    QPointer<VideoSettingDialog> m_videoSetting;  // while open: the connect check refreshes it
    bool m_switching = false;      // the window changes its own state; its reports are not requests
    QTimer m_reconnect;
};
