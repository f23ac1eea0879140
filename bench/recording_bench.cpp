// Recording: 1280 x 1024 frames of the simulated microscope into an AVI with the default
// compressor (Microsoft Video 1) and with MJPEG. Targets: the default at least 1.5x real
// time of a 7.5 frames/s capture, MJPEG at least 3x, each within 10% of the `ffmpeg` command
// line encoding the same raw frames with the same encoder, single-threaded, timed in the
// same run. Figures: frames_per_second, times_real_time and, on the command line's rows,
// writer_over_command_line (the writer's frames/s over the command line's).
#include "platform/aviwriter.h"
#include "platform/simulatedpicture.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 1024;
constexpr int kFrames = 30;
constexpr double kCaptureRate = 7.5;

struct Frames {
    QTemporaryDir folder;
    std::vector<std::vector<std::uint8_t>> frames;
    QString rawPath;

    Frames()
    {
        SimulatedPicture picture;
        frames.resize(kFrames);
        QFile raw(folder.filePath("frames.rgb"));
        raw.open(QIODevice::WriteOnly);
        for (int i = 0; i < kFrames; ++i) {
            picture.render(kWidth, kHeight, i, PictureSettings{}, frames[static_cast<std::size_t>(i)]);
            const auto& frame = frames[static_cast<std::size_t>(i)];
            raw.write(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size()));
        }
        rawPath = raw.fileName();
    }
};

Frames& frames()
{
    static Frames shared;
    return shared;
}

// Frames a second of the last run of each encoder, writer and command line, for the ratio.
std::map<std::string, double>& writerRates()
{
    static std::map<std::string, double> rates;
    return rates;
}

void setRates(benchmark::State& state, double seconds)
{
    const double rate = kFrames / seconds;
    state.counters["frames_per_second"] = rate;
    state.counters["times_real_time"] = rate / kCaptureRate;
}

void Writer(benchmark::State& state, const char* encoderName)
{
    AviEncoder encoder = AviWriter::defaultEncoder();
    for (const AviEncoder& candidate : AviWriter::encoders()) {
        if (candidate.name == encoderName) {
            encoder = candidate;
        }
    }
    const QString path = frames().folder.filePath(QString("writer-%1.avi").arg(encoderName));
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        AviWriter writer;
        if (!writer.open(path, kWidth, kHeight, 5, encoder, encoder.defaultQuality).ok()) {
            state.SkipWithError("the writer did not open");
            return;
        }
        for (const auto& frame : frames().frames) {
            writer.writeFrame(frame.data(), frame.size());
        }
        writer.close();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
    }
    setRates(state, seconds);
    writerRates()[encoderName] = kFrames / seconds;
}

void CommandLine(benchmark::State& state, const char* encoderName)
{
    const QString path = frames().folder.filePath(QString("ffmpeg-%1.avi").arg(encoderName));
    // The same work as the writer: bottom-up rows turned upright, one thread, every frame a key
    // frame, the quantiser the writer gives its default quality (encoders without one ignore it).
    const QStringList arguments{"-v", "error", "-y", "-f", "rawvideo", "-pix_fmt", "bgr24", "-s", "1280x1024",
                                "-r", "7.5", "-i", frames().rawPath, "-vf", "vflip", "-c:v", encoderName,
                                "-g", "1", "-q:v", "9", "-threads", "1", "-filter_threads", "1", path};
    double seconds = 0;
    for (auto _ : state) {
        QProcess ffmpeg;
        const auto start = std::chrono::steady_clock::now();
        ffmpeg.start("ffmpeg", arguments);
        if (!ffmpeg.waitForFinished(120'000) || ffmpeg.exitCode() != 0) {
            state.SkipWithError("ffmpeg did not run");
            return;
        }
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
    }
    setRates(state, seconds);
    if (const auto writer = writerRates().find(encoderName); writer != writerRates().end()) {
        state.counters["writer_over_command_line"] = writer->second / (kFrames / seconds);
    }
}

BENCHMARK_CAPTURE(Writer, msvideo1, "msvideo1")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CommandLine, msvideo1, "msvideo1")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Writer, mjpeg, "mjpeg")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CommandLine, mjpeg, "mjpeg")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
