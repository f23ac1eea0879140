#include "app/maincontext.h"
#include "app/mainwindow.h"
#include "app/programinfo.h"
#include "capture/captureengine.h"
#include "capture/captureformat.h"
#include "measure/measuresession.h"
#include "media/mediapaths.h"
#include "texts/localtext.h"
#include "platform/nativepath.h"
#include "platform/prompter.h"
#include "platform/qtsoundplayer.h"
#include "platform/simulatedmicroscope.h"
#include "platform/systemlanguage.h"
#include "platform/terminationsignals.h"
#include "platform/udevmonitor.h"
#include "platform/udevvideodevices.h"
#include "platform/v4l2camerasource.h"
#include "platform/xdgemailclient.h"
#include "photomeasure/calibrationstore.h"
#include "photomeasure/photomeasureopener.h"
#include "photomeasure/photomeasurestate.h"

#include <QApplication>
#include <QStandardPaths>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr const char* kUsage =
    "Usage: quillon [--simulate-microscope[=DIR]] [PICTURE]\n"
    "\n"
    "The companion program of the Quillon USB digital microscope: live picture, stills,\n"
    "gallery and measuring. With PICTURE, opens that picture for measuring.\n"
    "\n"
    "  --simulate-microscope[=DIR]  add a simulated microscope to the devices. With DIR it\n"
    "                               is plugged in while DIR/present exists, and creating\n"
    "                               DIR/snapshot presses its snapshot button once.\n"
    "  -h, --help                   show this help and exit\n"
    "      --version                show the version and exit\n";

struct Options {
    std::optional<QString> simulatedFolder;  // set (maybe empty) when the simulation is asked for
    QString picture;
};

/// Reads the arguments before any window exists, so --help works without a display.
/// Returns an exit status when the program should end at once.
std::optional<int> parseOptions(int argc, char** argv, Options& options)
{
    const std::string simulate = "--simulate-microscope";
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (argument == "--version") {
            std::printf("quillon %s\n", kProgramVersion);
            return 0;
        }
        if (argument == simulate) {
            options.simulatedFolder = QString();
        } else if (argument.rfind(simulate + "=", 0) == 0) {
            options.simulatedFolder = QString::fromLocal8Bit(argument.substr(simulate.size() + 1));
        } else if (argument.size() > 1 && argument[0] == '-') {
            std::fprintf(stderr, "quillon: unknown option %s\nTry 'quillon --help'.\n", argument.c_str());
            return 2;
        } else if (options.picture.isEmpty()) {
            options.picture = NativePath::decode(argv[i]);
        } else {
            std::fprintf(stderr, "quillon: one picture at a time\nTry 'quillon --help'.\n");
            return 2;
        }
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (const std::optional<int> status = parseOptions(argc, argv, options)) {
        return *status;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QString::fromLatin1(kProgramVersion));
    // Lets a Wayland compositor match the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    std::filesystem::path moduleFolder = SystemLanguage::executableFolder();
    if (moduleFolder.empty()) {
        moduleFolder = QCoreApplication::applicationDirPath().toStdString();
    }
    const LocalText text = LocalText::forSystemLanguage(moduleFolder);
    QtPrompter prompter;
    MeasureSession session;
    PhotoMeasureState photoMeasure;
    // The installed program's folder is not writable: settings live in the user's.
    const QString configFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Quillon");
    CalibrationStore calibrations(CalibrationStore::pathIn(configFolder));
    calibrations.load();

    if (!options.picture.isEmpty()) {
        // quillon PICTURE: measure one picture, as a double click in the gallery does.
        const QString picture = NativePath::absolute(options.picture);
        return runPhotoMeasure(picture, {session, photoMeasure, text, prompter, calibrations}, nullptr) ? 0 : 1;
    }

    UdevVideoDevices systemDevices([](const VideoDevice& device) -> std::unique_ptr<CameraSource> {
        return std::make_unique<V4l2CameraSource>(device.node, device.buttonNode);
    });
    UdevMonitor systemMonitor;
    std::vector<VideoDevices*> deviceLists{&systemDevices};
    std::optional<SimulatedMicroscope> simulated;
    std::optional<SimulatedMicroscopeMonitor> simulatedMonitor;
    if (options.simulatedFolder) {
        simulated.emplace(*options.simulatedFolder);
        deviceLists.push_back(&*simulated);
        if (!options.simulatedFolder->isEmpty()) {
            simulatedMonitor.emplace(*options.simulatedFolder);
        }
    }
    CaptureEngine engine(deviceLists, captureConfigPath(configFolder.toStdString()));

    MediaPaths paths = MediaPaths::forCurrentUser();
    XdgEmailClient mailClient;
    QtSoundPlayer sounds;
    MainWindow window(MainContext{session, photoMeasure, text, prompter, paths, engine, mailClient, sounds,
                                  calibrations});
    for (DeviceMonitor* monitor : {static_cast<DeviceMonitor*>(&systemMonitor),
                                   simulatedMonitor ? static_cast<DeviceMonitor*>(&*simulatedMonitor) : nullptr}) {
        if (monitor != nullptr) {
            QObject::connect(monitor, &DeviceMonitor::deviceChanged, &window, &MainWindow::deviceChangeNotice);
        }
    }
    // The session ending or Ctrl+C closes every window the way the user would, so a
    // recording ends in a playable clip.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::requested, &app, &QApplication::closeAllWindows,
                     Qt::QueuedConnection);
    window.show();
    return app.exec();
}
