// quillon_svgtopng SOURCE.svg OUTPUT.png [OUTPUT@2x.png]
//
// Renders one of the program's pictures for the resources: at the picture's own size and,
// when a second output is named, at twice that size for high-density screens. A picture
// that covers every pixel is written without an alpha channel, as the window backgrounds
// always were.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

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

bool render(QSvgRenderer& renderer, const QString& output, int scale)
{
    QImage image(renderer.defaultSize() * scale, QImage::Format_ARGB32_Premultiplied);
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

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: quillon_svgtopng SOURCE.svg OUTPUT.png [OUTPUT@2x.png]\n");
        return 2;
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
    bool ok = render(renderer, QString::fromLocal8Bit(argv[2]), 1);
    if (argc == 4) {
        ok = ok && render(renderer, QString::fromLocal8Bit(argv[3]), 2);
    }
    return ok ? 0 : 1;
}
