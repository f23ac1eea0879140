// The gallery's two speed targets, each beside a peer doing the same work in the same run:
// - one page of 10 thumbnails from 1280 x 1024 stills, warm (files in the page cache):
//   target <= 40 ms; measured reading and decoding every file (the gallery's thumbnails
//   forgotten first) and with the thumbnails the gallery keeps between redraws; peer: QImage
//   loading each file and scaling it to the cell;
// - building the lists over a picture folder of 5,000 files: target <= 1 s; peer: a bare
//   std::filesystem walk reading each entry's size.
#include "media/mediapaths.h"
#include "media/thumbnailgallery.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

void put32(std::vector<char>& out, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<char>(v >> (8 * i));
    }
}

// A still as the camera writes it, with a pattern that differs per file.
std::vector<char> still(int width, int height, int seed)
{
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    std::vector<char> out(54 + stride * height, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<std::uint32_t>(out.size()));
    put32(out, 10, 54);
    put32(out, 14, 40);
    put32(out, 18, static_cast<std::uint32_t>(width));
    put32(out, 22, static_cast<std::uint32_t>(height));
    out[26] = 1;
    out[28] = 24;
    put32(out, 34, static_cast<std::uint32_t>(stride * height));
    for (int y = 0; y < height; ++y) {
        char* row = out.data() + 54 + y * stride;
        for (int x = 0; x < width; ++x) {
            row[x * 3] = static_cast<char>(x + seed * 20);
            row[x * 3 + 1] = static_cast<char>(y);
            row[x * 3 + 2] = static_cast<char>((x ^ y) + seed);
        }
    }
    return out;
}

void write(const QString& path, const std::vector<char>& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
}

struct Folders {
    QTemporaryDir documents;
    MediaPaths page{documents.path() + "/page"};
    MediaPaths many{documents.path() + "/many"};

    Folders()
    {
        QDir().mkpath(page.documentsFolder());
        QDir().mkpath(many.documentsFolder());
        page.createFolders();
        many.createFolders();
        for (int i = 0; i < 10; ++i) {
            write(page.pictureFolder() + QString::asprintf("/Still_2009-03-05_101530_N%04d.bmp", i + 1),
                  still(1280, 1024, i));
        }
        const std::vector<char> small = still(16, 12, 0);
        for (int i = 0; i < 5000; ++i) {
            write(many.pictureFolder() + QString::asprintf("/Still_2009-03-05_101530_N%04d.bmp", i + 1), small);
        }
    }
};

Folders& folders()
{
    static Folders instance;
    return instance;
}

void drawPages(benchmark::State& state, bool decodeEveryTime)
{
    ThumbnailGallery gallery(folders().page);
    gallery.buildLists();
    gallery.grab();  // the first paint lays out the cells and draws once
    for (auto _ : state) {
        if (decodeEveryTime) {
            gallery.forgetThumbnails();
        }
        gallery.redraw();
        benchmark::DoNotOptimize(gallery.displaySurface().constBits());
    }
    if (gallery.shownItems().size() != 10) {
        state.SkipWithError("not every thumbnail was drawn");
    }
}

void GalleryPageOfTenStillsDecoded(benchmark::State& state)
{
    drawPages(state, true);
}
BENCHMARK(GalleryPageOfTenStillsDecoded)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void GalleryPageOfTenStillsKept(benchmark::State& state)
{
    drawPages(state, false);
}
BENCHMARK(GalleryPageOfTenStillsKept)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void PeerQImageLoadAndScaleTenStills(benchmark::State& state)
{
    const QStringList names = QDir(folders().page.pictureFolder()).entryList({"*.bmp"}, QDir::Files, QDir::Name);
    QImage page(203, 420, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&page);
        int cell = 0;
        for (const QString& name : names) {
            const QImage picture(folders().page.pictureFolder() + '/' + name);
            painter.drawImage(QPoint(11 + 94 * (cell % 2), 4 + 83 * (cell / 2)),
                              picture.scaled(87, 76, Qt::IgnoreAspectRatio, Qt::FastTransformation));
            ++cell;
        }
        benchmark::DoNotOptimize(page.constBits());
    }
}
BENCHMARK(PeerQImageLoadAndScaleTenStills)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void GalleryBuildListsOf5000Files(benchmark::State& state)
{
    ThumbnailGallery gallery(folders().many);
    for (auto _ : state) {
        gallery.buildLists();
    }
    if (gallery.items(GalleryTab::Picture).size() != 5000) {
        state.SkipWithError("not every file was listed");
    }
}
BENCHMARK(GalleryBuildListsOf5000Files)->Unit(benchmark::kMillisecond);

void PeerFilesystemWalkOf5000Files(benchmark::State& state)
{
    const std::filesystem::path folder = folders().many.pictureFolder().toStdString();
    for (auto _ : state) {
        std::vector<std::filesystem::path> listed;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.is_regular_file() && entry.file_size() >= 41 && entry.path().extension() == ".bmp") {
                listed.push_back(entry.path());
            }
        }
        std::sort(listed.begin(), listed.end());
        benchmark::DoNotOptimize(listed.data());
    }
}
BENCHMARK(PeerFilesystemWalkOf5000Files)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    folders();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
