// Program start to the first painted main window, offscreen: target <= 400 ms and a peak
// memory of at most 120 MB.
// - The cold figure is measured once, from the start of main() (the Qt application made,
//   fonts and styles loaded) to the end of the first paint of the main window's client area,
//   over a documents folder with ten 1280 x 1024 stills; with the peak resident memory then.
// - The warm benchmark makes and paints the main window again and again; its peer makes and
//   paints a bare window of the same size showing the same background picture, so the ratio
//   says what the main window adds.
#include "app/appresources.h"
#include "app/maincontext.h"
#include "app/mainwindow.h"
#include "capture/captureengine.h"
#include "measure/measuresession.h"
#include "media/mediapaths.h"
#include "texts/localtext.h"
#include "platform/mailclient.h"
#include "platform/prompter.h"
#include "platform/qtsoundplayer.h"
#include "photomeasure/calibrationstore.h"
#include "photomeasure/photomeasurestate.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

namespace {

class NoMail final : public MailClient {
public:
    Availability availability() const override { return Availability::Missing; }
    void send(const QString&, QObject*, Done done) override { done(Result::Failed); }
};

class FirstPaint : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            painted = true;
        }
        return false;
    }
};

struct Program {
    MeasureSession session;
    PhotoMeasureState photoMeasure;
    LocalText text;
    QtPrompter prompter;
    MediaPaths paths;
    CaptureEngine engine{{}, {}};
    NoMail mail;
    QtSoundPlayer sounds;  // the program loads its sounds at start too
    CalibrationStore calibrations{CalibrationStore::pathIn(QDir::tempPath() + "/quillon-bench-none")};

    explicit Program(const QString& documents)
        : paths(documents)
    {
    }
};

std::unique_ptr<Program> program;

// Makes the main window, shows it and waits until its client area has been painted.
void showMainWindow()
{
    MainWindow window(MainContext{program->session, program->photoMeasure, program->text, program->prompter,
                                  program->paths, program->engine, program->mail, program->sounds,
                                  program->calibrations});
    FirstPaint watcher;
    window.clientArea()->installEventFilter(&watcher);
    window.show();
    while (!watcher.painted) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

void BM_MainWindowToFirstPaint(benchmark::State& state)
{
    for (auto _ : state) {
        showMainWindow();
    }
}
BENCHMARK(BM_MainWindowToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_PeerBareWindowToFirstPaint(benchmark::State& state)
{
    initAppResources();
    const QPixmap background(QStringLiteral(":/app/background.png"));
    for (auto _ : state) {
        QLabel window;
        window.setPixmap(background);
        FirstPaint watcher;
        window.installEventFilter(&watcher);
        window.show();
        while (!watcher.painted) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }
}
BENCHMARK(BM_PeerBareWindowToFirstPaint)->Unit(benchmark::kMillisecond);

double peakMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

void writeStills(const QString& folder)
{
    QImage still(1280, 1024, QImage::Format_RGB888);
    for (int i = 1; i <= 10; ++i) {
        still.fill(QColor(20 * i, 100, 200 - 10 * i));
        still.save(QStringLiteral("%1/Still_2009-03-05_1015%2_N%3.bmp").arg(folder).arg(i, 2, 10, QChar('0')).arg(i),
                   "BMP");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    using Clock = std::chrono::steady_clock;
    using Ms = std::chrono::duration<double, std::milli>;
    const Clock::time_point start = Clock::now();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir home(QDir::tempPath() + "/quillon-bench-home-XXXXXX");
    setenv("HOME", home.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    program = std::make_unique<Program>(home.path() + "/Documents");
    const Clock::time_point ready = Clock::now();
    // The stills stand for what a user has taken before; writing them is not start-up.
    program->paths.createFolders();
    writeStills(program->paths.pictureFolder());
    const Clock::time_point windowStart = Clock::now();
    showMainWindow();
    const Clock::time_point painted = Clock::now();
    const double coldMs = Ms(ready - start).count() + Ms(painted - windowStart).count();
    const double peakMb = peakMegabytes();
    std::printf("cold start to first painted main window: %.1f ms (application %.1f ms, window %.1f ms); "
                "peak memory %.1f MB\n",
                coldMs, Ms(ready - start).count(), Ms(painted - windowStart).count(), peakMb);
    // The cold figures happen once, before any benchmark; the context carries them into the
    // JSON report beside the benchmarks' own.
    benchmark::AddCustomContext("cold_start_ms", std::to_string(coldMs));
    benchmark::AddCustomContext("cold_start_peak_memory_mb", std::to_string(peakMb));

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    program.reset();
    return 0;
}
