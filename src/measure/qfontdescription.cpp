#include "measure/qfontdescription.h"

#include <QFontInfo>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
// Logical-font quality values and pitch-and-family bits as the records store them.
constexpr uint8_t nonAntialiasedQuality = 3;
constexpr uint8_t antialiasedQuality = 4;
constexpr uint8_t fixedPitch = 1;
constexpr uint8_t variablePitch = 2;

constexpr int defaultPixelSize = 12;
// A record can hold any height; glyphs thousands of pixels high only exhaust memory.
constexpr int maxPixelSize = 4096;

bool prefersAntialiasing(uint8_t quality)
{
    return quality >= antialiasedQuality && quality <= 6;
}

QFont::StyleHint styleHintOf(uint8_t pitchAndFamily)
{
    switch (pitchAndFamily & 0xF0) {
    case 0x10: return QFont::Serif;
    case 0x20: return QFont::SansSerif;
    case 0x30: return QFont::TypeWriter;
    case 0x40: return QFont::Cursive;
    case 0x50: return QFont::Decorative;
    default: return QFont::AnyStyle;
    }
}

uint8_t familyBitsOf(QFont::StyleHint hint)
{
    switch (hint) {
    case QFont::Serif: return 0x10;
    case QFont::SansSerif: return 0x20;
    case QFont::TypeWriter: return 0x30;
    case QFont::Cursive: return 0x40;
    case QFont::Decorative: return 0x50;
    default: return 0x00;
    }
}

// A positive height counts the whole cell; QFont's pixel size counts the em square only.
int emPixelsForCellHeight(QFont font, int64_t cellHeight)
{
    // At a large size the metrics' rounding to whole pixels does not disturb the ratio.
    font.setPixelSize(1000);
    const QFontMetricsF metrics(font);
    const double cellAt1000 = metrics.ascent() + metrics.descent();
    const double em = cellAt1000 > 0 ? double(cellHeight) * 1000.0 / cellAt1000 : double(cellHeight);
    return int(std::clamp(std::lround(em), 1L, long(maxPixelSize)));
}

int stretchFor(int32_t width, int pixelSize)
{
    // The width is an average character width; the usual average is about half the em.
    const double stretch = double(width) * 200.0 / pixelSize;
    return int(std::clamp(std::lround(stretch), 1L, 4000L));
}

QString faceOf(const FontDescription& description)
{
    const std::string_view face = description.face();
    return QString::fromUtf8(face.data(), qsizetype(face.size()));
}

// Cuts NAME to the record's 31 bytes without leaving half a UTF-8 sequence behind.
void storeFace(FontDescription& description, const QString& name)
{
    QByteArray bytes = name.toUtf8();
    qsizetype length = std::min<qsizetype>(bytes.size(), qsizetype(description.faceName.size() - 1));
    if (length < bytes.size()) {
        while (length > 0 && (uchar(bytes[length]) & 0xC0) == 0x80) {
            --length;
        }
    }
    description.setFace(std::string_view(bytes.constData(), size_t(length)));
}

uint8_t flagByte(bool on, uint8_t current)
{
    // Any nonzero byte means "on"; keep the caller's byte when the meaning is unchanged.
    return on == (current != 0) ? current : uint8_t(on ? 1 : 0);
}
}  // namespace

QFont toQFont(const FontDescription& description)
{
    QFont font(faceOf(description));
    font.setStyleHint(styleHintOf(description.pitchAndFamily));

    const int64_t height = description.height;
    int pixels = defaultPixelSize;
    if (height < 0) {
        pixels = int(std::min<int64_t>(-height, maxPixelSize));
    } else if (height > 0) {
        pixels = emPixelsForCellHeight(font, height);
    }
    font.setPixelSize(pixels);
    if (description.width > 0) {
        font.setStretch(stretchFor(description.width, pixels));
    }
    const int weight = description.weight <= 0 ? 400 : std::clamp<int>(description.weight, 1, 1000);
    font.setWeight(QFont::Weight(weight));
    font.setItalic(description.italic != 0);
    font.setUnderline(description.underline != 0);
    font.setStrikeOut(description.strikeOut != 0);
    if (description.quality == nonAntialiasedQuality) {
        font.setStyleStrategy(QFont::NoAntialias);
    } else if (prefersAntialiasing(description.quality)) {
        font.setStyleStrategy(QFont::PreferAntialias);
    }
    return font;
}

FontDescription fromQFont(const QFont& font, const FontDescription& base)
{
    FontDescription description = base;
    storeFace(description, font.family());
    const bool sameFace = description.faceName == base.faceName;

    // Each field is compared with what the record as it stands would give; only a field
    // the font really changes is rewritten, so the caller's own representation survives.
    QFont expected = toQFont(description);
    const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    if (pixels > 0 && pixels != expected.pixelSize()) {
        description.height = -pixels;
        expected = toQFont(description);
    }
    if (font.stretch() != expected.stretch()) {
        const int stretch = font.stretch();
        const bool natural = stretch == QFont::AnyStretch || stretch == QFont::Unstretched;
        description.width = natural ? 0 : int32_t(std::lround(double(stretch) * expected.pixelSize() / 200.0));
    }
    if (font.weight() != expected.weight()) {
        description.weight = int32_t(font.weight());
    }
    description.italic = flagByte(font.italic(), description.italic);
    description.underline = flagByte(font.underline(), description.underline);
    description.strikeOut = flagByte(font.strikeOut(), description.strikeOut);

    if (font.styleStrategy() & QFont::NoAntialias) {
        description.quality = nonAntialiasedQuality;
    } else if (font.styleStrategy() & QFont::PreferAntialias) {
        if (!prefersAntialiasing(description.quality)) {
            description.quality = antialiasedQuality;
        }
    } else if (description.quality == nonAntialiasedQuality || prefersAntialiasing(description.quality)) {
        description.quality = 0;
    }

    uint8_t pitch = description.pitchAndFamily & 0x03;
    if (!sameFace) {
        pitch = QFontInfo(font).fixedPitch() ? fixedPitch : variablePitch;
    }
    uint8_t family = description.pitchAndFamily & 0xF0;
    if (font.styleHint() != expected.styleHint()) {
        family = familyBitsOf(font.styleHint());
    }
    description.pitchAndFamily = uint8_t(family | pitch | (description.pitchAndFamily & 0x0C));
    return description;
}
