// The frame path: a 1280 x 1024 frame through the engine's frame handling - still handling
// (the last-frame copy) and the live view stretched to 610 x 480 with all four guides -
// target 4 ms on one core. The peer is a plain QImage::scaled of the same frame to the same
// size, in the same run. A second figure is the CPU share of a 30 frames/s preview of the
// simulated microscope over 10 s, read from /proc/self/stat.
#include "capture/captureengine.h"
#include "media/medianames.h"
#include "media/mediapaths.h"
#include "media/stillwriter.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/simulatedmicroscope.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 1024;

std::vector<std::uint8_t> specimenFrame()
{
    std::vector<std::uint8_t> bytes(std::size_t(kWidth) * kHeight * 3);
    std::mt19937 random(11);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>((i / 3 % kWidth) / 6 + random() % 32);
    }
    return bytes;
}

void FramePath(benchmark::State& state)
{
    const std::vector<std::uint8_t> bytes = specimenFrame();
    CaptureEngine engine({}, {});
    engine.livePicture().recreate(QSize(610, 480));
    for (const Overlay overlay :
         {Overlay::CrossLine, Overlay::Scale, Overlay::Circles, Overlay::TimeStamp, Overlay::ScaleBar}) {
        engine.overlays().toggle(overlay);
    }
    engine.overlays().setPictureScale(PictureScale{0.001, QSize(kWidth, kHeight)});
    const CameraFrame frame{bytes.data(), bytes.size(), kWidth, kHeight, 0.0};
    for (auto _ : state) {
        engine.handleFrame(frame);
    }
}
BENCHMARK(FramePath)->Unit(benchmark::kMillisecond);

void PeerQImageScaled(benchmark::State& state)
{
    const std::vector<std::uint8_t> bytes = specimenFrame();
    const QImage frame(bytes.data(), kWidth, kHeight, kWidth * 3, QImage::Format_BGR888);
    for (auto _ : state) {
        QImage scaled = frame.scaled(610, 480);
        benchmark::DoNotOptimize(scaled.constBits());
    }
}
BENCHMARK(PeerQImageScaled)->Unit(benchmark::kMillisecond);

// From a still request to the closed BMP file: the next frame keeps the still, the writer
// names it (scanning the picture folder) and writes it. The folder fills as it runs, as a
// user's does.
void StillRequestToClosedFile(benchmark::State& state)
{
    const std::vector<std::uint8_t> bytes = specimenFrame();
    CaptureEngine engine({}, {});
    const CameraFrame frame{bytes.data(), bytes.size(), kWidth, kHeight, 0.0};
    engine.handleFrame(frame);
    QTemporaryDir documents;
    MediaPaths paths(documents.path());
    paths.createFolders();
    QtPrompter prompter;
    SystemClock clock;
    for (auto _ : state) {
        engine.requestStill();
        engine.handleFrame(frame);
        engine.clearStillRequest();
        QSize size;
        const std::vector<std::uint8_t> still = engine.lastFrame(&size);
        const QString path = MediaNames(paths, prompter, clock).makeStillName(QStringLiteral("200.0"));
        if (!StillWriter::write(path, still, size).written) {
            state.SkipWithError("the still was not written");
            return;
        }
    }
}
BENCHMARK(StillRequestToClosedFile)->Unit(benchmark::kMillisecond)->Iterations(50);

double processCpuSeconds()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // The fields after the command name, which may hold blanks, start after its ')'.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    long userTicks = 0, systemTicks = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14) userTicks = std::stol(field);
        if (i == 15) { systemTicks = std::stol(field); break; }
    }
    return double(userTicks + systemTicks) / double(sysconf(_SC_CLK_TCK));
}

void SimulatedPreviewCpuShare(benchmark::State& state)
{
    for (auto _ : state) {
        SimulatedMicroscope microscope;
        QTemporaryDir config;
        // 30 frames/s at 1280 x 1024 through the stored format, as a user's CapConfig.dat would ask.
        const std::filesystem::path file = config.filePath("CapConfig.dat").toStdString();
        writeCaptureConfig(file, CaptureFormat::fromDevice({kWidth, kHeight, 0x56595559, 16, kWidth * kHeight * 2, 333333}));
        CaptureEngine engine({&microscope}, file);
        if (engine.bringUp() != CaptureEngine::StartResult::Running) {
            state.SkipWithError("the simulated microscope did not start");
            return;
        }
        engine.livePicture().recreate(QSize(610, 480));
        std::atomic<int> frames{0};
        QObject::connect(&engine, &CaptureEngine::liveViewChanged, [&] { ++frames; });
        const double cpuBefore = processCpuSeconds();
        const auto wallBefore = std::chrono::steady_clock::now();
        QTest::qWait(10'000);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
        state.counters["cpu_share_percent"] = 100.0 * (processCpuSeconds() - cpuBefore) / wall;
        state.counters["frames_per_second"] = frames.load() / wall;
        engine.takeDown();
    }
}
BENCHMARK(SimulatedPreviewCpuShare)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
