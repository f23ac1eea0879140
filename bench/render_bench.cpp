// Saving an annotated picture: RenderToFile of a 1280 x 1024 picture carrying 200 measured
// shapes, as BMP and as JPEG (target 150 ms each). The reference is a plain QImage::save of
// the same picture without shapes, measured in the same run.
#include "measure/measureview.h"
#include "measure/measuresession.h"
#include "measure/readouts.h"
#include "texts/localtext.h"
#include "platform/prompter.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <random>

namespace {

class SilentPrompter final : public Prompter {
public:
    Answer message(QWidget*, const QString&, Icon, Buttons, const QString&) override { return Answer::Ok; }
    std::optional<FileAnswer> openFile(QWidget*, const FileRequest&) override { return {}; }
    std::optional<FileAnswer> saveFile(QWidget*, const FileRequest&) override { return {}; }
    std::optional<QString> chooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return {}; }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return {}; }
};

// A microscope-like picture: smooth shading with fine texture, so JPEG has real work.
QImage specimen()
{
    QImage image(1280, 1024, QImage::Format_RGB32);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> noise(0, 24);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int base = 90 + (x * 60) / 1280 + (y * 40) / 1024;
            row[x] = qRgb(base + noise(random), base / 2 + noise(random), 160 - base / 3);
        }
    }
    return image;
}

struct Fixture {
    QTemporaryDir dir;
    QString picturePath;
    QImage picture;
    MeasureSession session;
    SilentPrompter prompter;
    LocalText text;
    std::unique_ptr<MeasureView> view;

    Fixture()
    {
        picture = specimen();
        picturePath = dir.filePath("Still_2009-03-05_101530_200.0X_N0012.bmp");
        picture.save(picturePath, "BMP");
        view = std::make_unique<MeasureView>(session, prompter, text, picturePath, 1.0, kInitialTool);
        addShapes(200);
    }

    // Every measured kind in turn, at random places on the 640 x 512 canvas.
    void addShapes(int count)
    {
        std::mt19937 random(11);
        std::uniform_int_distribution<int> x(10, 630);
        std::uniform_int_distribution<int> y(10, 500);
        const double pixelLength = 0.02963 * 2.0;
        const ShapeKind kinds[] = {ShapeKind::Line, ShapeKind::ContinuousLine, ShapeKind::Polygon,
                                   ShapeKind::Angle, ShapeKind::RadiusCircle, ShapeKind::DiameterCircle,
                                   ShapeKind::Rectangle, ShapeKind::ThreePointCircle,
                                   ShapeKind::FourPointAngle, ShapeKind::Text};
        for (int i = 0; i < count; ++i) {
            const ShapeKind kind = kinds[i % std::size(kinds)];
            MeasureShape shape;
            shape.kind = kind;
            shape.penWidth = 1 + i % 3;
            shape.penStyle = PenStyle(i % 5);
            shape.penColor = 0x0000FF;
            shape.labelColor = 0xFF0000;
            const int pointCount = kind == ShapeKind::ContinuousLine ? 5
                : kind == ShapeKind::Polygon                          ? 6
                : kind == ShapeKind::FourPointAngle                   ? 4
                : kind == ShapeKind::Angle || kind == ShapeKind::ThreePointCircle ? 3
                                                                      : 2;
            for (int p = 0; p < pointCount; ++p) {
                shape.points.push_back({x(random), y(random)});
            }
            if (kind == ShapeKind::Text) {
                shape.labels = {"Specimen note"};
            } else if (kind == ShapeKind::RadiusCircle || kind == ShapeKind::DiameterCircle) {
                shape.points[1] = {shape.points[0].x + 30, shape.points[0].y + 20};
                shape.labels = measuredLabels(kind, shape.points, pixelLength, 197.0);
            } else {
                shape.labels = measuredLabels(kind, shape.points, pixelLength, 197.0);
            }
            session.addShape(std::move(shape));
        }
    }
};

Fixture& fixture()
{
    static Fixture instance;
    return instance;
}

void renderToFile(benchmark::State& state, const char* name)
{
    Fixture& f = fixture();
    const QString path = f.dir.filePath(name);
    for (auto _ : state) {
        if (!f.view->renderToFile(path)) {
            state.SkipWithError("RenderToFile failed");
            break;
        }
    }
}

void plainSave(benchmark::State& state, const char* name, const char* format)
{
    Fixture& f = fixture();
    const QString path = f.dir.filePath(name);
    for (auto _ : state) {
        if (!f.picture.save(path, format)) {
            state.SkipWithError("QImage::save failed");
            break;
        }
    }
}

void BM_RenderToFileBmp200Shapes(benchmark::State& state) { renderToFile(state, "out.bmp"); }
void BM_RenderToFileJpeg200Shapes(benchmark::State& state) { renderToFile(state, "out.jpg"); }
void BM_PeerQImageSaveBmpNoShapes(benchmark::State& state) { plainSave(state, "plain.bmp", "BMP"); }
void BM_PeerQImageSaveJpegNoShapes(benchmark::State& state) { plainSave(state, "plain.jpg", "JPEG"); }

BENCHMARK(BM_RenderToFileBmp200Shapes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeerQImageSaveBmpNoShapes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderToFileJpeg200Shapes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeerQImageSaveJpegNoShapes)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
