// quillon_svgtopng SOURCE.svg OUTPUT.png [OUTPUT@2x.png]
// quillon_svgtopng --size N SOURCE.svg OUTPUT.png
//
// Renders one of the program's pictures for the resources: at the picture's own size and,
// when a second output is named, at twice that size for high-density screens. A picture
// that covers every pixel is written without an alpha channel, as the window backgrounds
// always were. With --size, a square picture (the program icon) is rendered N x N pixels for
// the icon theme.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool isOpaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 255) {
                return false;
            }
        }
    }
    return true;
}

bool render(QSvgRenderer& renderer, const QString& output, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    if (isOpaque(image)) {
        image = image.convertToFormat(QImage::Format_RGB32);
    }
    if (!image.save(output, "PNG")) {
        std::fprintf(stderr, "quillon_svgtopng: cannot write %s\n", qPrintable(output));
        return false;
    }
    return true;
}

int usage()
{
    std::fprintf(stderr, "usage: quillon_svgtopng SOURCE.svg OUTPUT.png [OUTPUT@2x.png]\n"
                         "       quillon_svgtopng --size N SOURCE.svg OUTPUT.png\n");
    return 2;
}

// Icon themes go up to 512 pixels (1024 in a few high-density sets); more is a mistake in the build.
constexpr int kLargestIcon = 1024;

int renderIcon(const char* sizeText, const char* source, const char* output)
{
    char* end = nullptr;
    const long size = std::strtol(sizeText, &end, 10);
    if (*sizeText == '\0' || *end != '\0' || size < 1 || size > kLargestIcon) {
        return usage();
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(source));
    if (!renderer.isValid() || renderer.defaultSize().isEmpty()
        || renderer.defaultSize().width() != renderer.defaultSize().height()) {
        std::fprintf(stderr, "quillon_svgtopng: %s is not a square picture\n", source);
        return 1;
    }
    const int side = static_cast<int>(size);
    return render(renderer, QString::fromLocal8Bit(output), QSize(side, side)) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "--size") == 0) {
        return renderIcon(argv[2], argv[3], argv[4]);
    }
    if (argc != 3 && argc != 4) {
        return usage();
    }
    // No application object: painting into a QImage needs no display, and pictures hold no text.
    const QString source = QString::fromLocal8Bit(argv[1]);
    QSvgRenderer renderer(source);
    // The layout of the windows is measured in these pixels, so a size that does not come out
    // whole is a mistake in the picture, not something to round.
    if (!renderer.isValid() || renderer.defaultSize().isEmpty()
        || renderer.viewBoxF().size() != QSizeF(renderer.defaultSize())) {
        std::fprintf(stderr, "quillon_svgtopng: %s is not a picture with a whole pixel size\n", argv[1]);
        return 1;
    }
    bool ok = render(renderer, QString::fromLocal8Bit(argv[2]), renderer.defaultSize());
    if (argc == 4) {
        ok = ok && render(renderer, QString::fromLocal8Bit(argv[3]), renderer.defaultSize() * 2);
    }
    return ok ? 0 : 1;
}
