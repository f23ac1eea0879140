#include "platform/simulatedpicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

namespace {

using Bgr = std::array<std::uint8_t, 3>;

const Bgr kSpecimenBackground{150, 200, 192};  // greenish beige
const Bgr kCellPlasma{110, 178, 150};
const Bgr kNucleus{110, 120, 95};
const Bgr kInk{40, 35, 30};  // the micrometer's graduations
constexpr int kCellCount = 40;
constexpr int kDivisions = 100;  // 1 mm in 0.01 mm steps
constexpr int kParticlePeriod = 900;  // frames to drift once across

// Digits 0-9, five columns by seven rows, the leftmost column in bit 4. A font of our own
// keeps the picture the same on every machine and needs no font system on the frame thread.
constexpr std::array<std::array<std::uint8_t, 7>, 10> kDigits{{
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
}};
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphAdvance = 6;

int textWidth(const std::string& digits, int scale)
{
    return (static_cast<int>(digits.size()) * kGlyphAdvance - 1) * scale;
}

// Calls PLOT(x, y) for every pixel of DIGITS with its top-left corner at (LEFT, TOP).
template <typename Plot>
void drawDigits(const std::string& digits, int left, int top, int scale, Plot plot)
{
    for (std::size_t k = 0; k < digits.size(); ++k) {
        const auto& glyph = kDigits[static_cast<std::size_t>(digits[k] - '0')];
        for (int row = 0; row < kGlyphHeight; ++row) {
            for (int column = 0; column < kGlyphWidth; ++column) {
                if (glyph[static_cast<std::size_t>(row)] & (0x10 >> column)) {
                    const int x = left + (static_cast<int>(k) * kGlyphAdvance + column) * scale;
                    for (int dy = 0; dy < scale; ++dy) {
                        for (int dx = 0; dx < scale; ++dx) {
                            plot(x + dx, top + row * scale + dy);
                        }
                    }
                }
            }
        }
    }
}

std::uint8_t clampLevel(double level)
{
    return static_cast<std::uint8_t>(std::clamp(level + 0.5, 0.0, 255.0));
}

void blend(std::uint8_t* pixel, const Bgr& color, double weight)
{
    for (std::size_t c = 0; c < 3; ++c) {
        pixel[c] = clampLevel(pixel[c] + (color[c] - pixel[c]) * weight);
    }
}

// A box blur of RADIUS, rows then columns; edge pixels repeat outwards.
std::vector<std::uint8_t> boxBlur(const std::vector<std::uint8_t>& source, int width, int height, int radius)
{
    std::vector<std::uint8_t> rows(source.size());
    std::vector<std::uint8_t> result(source.size());
    const int span = 2 * radius + 1;
    auto pass = [span, radius](const std::uint8_t* in, std::uint8_t* out, int count, std::ptrdiff_t stride) {
        for (int c = 0; c < 3; ++c) {
            auto at = [&](int i) { return in[std::clamp(i, 0, count - 1) * stride + c]; };
            int sum = 0;
            for (int i = -radius; i <= radius; ++i) {
                sum += at(i);
            }
            for (int i = 0; i < count; ++i) {
                out[i * stride + c] = static_cast<std::uint8_t>(sum / span);
                sum += at(i + radius + 1) - at(i - radius);
            }
        }
    };
    for (int y = 0; y < height; ++y) {
        const std::size_t offset = static_cast<std::size_t>(y) * width * 3;
        pass(source.data() + offset, rows.data() + offset, width, 3);
    }
    for (int x = 0; x < width; ++x) {
        pass(rows.data() + x * 3, result.data() + x * 3, height, static_cast<std::ptrdiff_t>(width) * 3);
    }
    return result;
}

}  // namespace

void SimulatedPicture::buildScene(int width, int height)
{
    m_width = width;
    m_height = height;
    m_scene.resize(static_cast<std::size_t>(width) * height * 3);
    auto pixel = [this](int x, int y) { return m_scene.data() + (static_cast<std::size_t>(y) * m_width + x) * 3; };
    // A faint unevenness of the slide, so the background is not flat.
    std::vector<double> across(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        across[static_cast<std::size_t>(x)] = 0.04 * std::sin(x * 9.0 / width);
    }
    for (int y = 0; y < height; ++y) {
        const double down = std::cos(y * 7.0 / height);
        for (int x = 0; x < width; ++x) {
            const double shade = 1.0 + across[static_cast<std::size_t>(x)] * down;
            for (std::size_t c = 0; c < 3; ++c) {
                pixel(x, y)[c] = clampLevel(kSpecimenBackground[c] * shade);
            }
        }
    }

    // Cells at the same places, relative to the size, in every resolution.
    std::uint32_t seed = 20090305;
    auto random = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) / double(1u << 24);
    };
    for (int cell = 0; cell < kCellCount; ++cell) {
        const double cx = random() * width;
        const double cy = random() * height;
        const double rx = (0.04 + 0.05 * random()) * height;
        const double ry = rx * (0.7 + 0.5 * random());
        const int x0 = std::max(0, int(cx - rx * 1.2)), x1 = std::min(width - 1, int(cx + rx * 1.2));
        const int y0 = std::max(0, int(cy - ry * 1.2)), y1 = std::min(height - 1, int(cy + ry * 1.2));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const double d = std::hypot((x - cx) / rx, (y - cy) / ry);
                std::uint8_t* p = pixel(x, y);
                if (d < 1) {
                    blend(p, kCellPlasma, 0.35 * (1 - d * d));
                }
                const double ring = (d - 1) / 0.08;
                blend(p, kInk, 0.3 * std::exp(-ring * ring));  // the membrane
                if (d < 0.3) {
                    blend(p, kNucleus, 0.6 * (1 - d / 0.3));
                }
            }
        }
    }

    // The stage micrometer: 1 mm across 80 % of the width on the middle row.
    auto ink = [&](int x, int y) {
        if (x >= 0 && x < width && y >= 0 && y < height) {
            std::memcpy(pixel(x, y), kInk.data(), 3);
        }
    };
    const int thickness = std::max(1, height / 480);
    const int scale = std::max(1, height / 240);
    const int baseline = height / 2;
    const double left = width * 0.1;
    const double step = width * 0.8 / kDivisions;
    for (int i = 0; i <= kDivisions; ++i) {
        const int x = static_cast<int>(std::lround(left + i * step));
        const int length = i % 10 == 0 ? height / 16 : i % 5 == 0 ? height / 26 : height / 45;
        for (int y = baseline - length; y < baseline + thickness; ++y) {
            for (int t = 0; t < thickness; ++t) {
                ink(x + t, y);
            }
        }
        if (i < kDivisions) {
            for (int y = baseline; y < baseline + thickness; ++y) {
                for (int xx = x; xx <= int(std::lround(left + (i + 1) * step)); ++xx) {
                    ink(xx, y);
                }
            }
        }
        if (i % 10 == 0) {
            const std::string label = std::to_string(i / 10);
            drawDigits(label, x - textWidth(label, scale) / 2, baseline - length - (kGlyphHeight + 3) * scale, scale, ink);
        }
    }
}

void SimulatedPicture::buildAdjusted(const PictureSettings& settings)
{
    std::vector<std::uint8_t> work = m_scene;
    if (settings.sharpness < 3) {
        work = boxBlur(work, m_width, m_height, 3 - settings.sharpness);
    } else if (settings.sharpness > 3) {
        const std::vector<std::uint8_t> blurred = boxBlur(work, m_width, m_height, 1);
        const int tenths = 7 * (settings.sharpness - 3);
        for (std::size_t i = 0; i < work.size(); ++i) {
            work[i] = static_cast<std::uint8_t>(std::clamp(work[i] + (work[i] - blurred[i]) * tenths / 10, 0, 255));
        }
    }

    // One table per channel, in blue-green-red order: white balance, contrast, brightness, gamma.
    const double warmth = settings.whiteBalanceAutomatic ? 0.0 : (settings.whiteBalance - 4600) / 1900.0;
    const std::array<double, 3> gains{1 - 0.25 * warmth, 1 + 0.03 * warmth, 1 + 0.25 * warmth};
    std::array<std::array<std::uint8_t, 256>, 3> tables{};
    for (std::size_t c = 0; c < 3; ++c) {
        for (int level = 0; level < 256; ++level) {
            double v = level * gains[c];
            v = (v - 128) * settings.contrast / 32.0 + 128 + settings.brightness;
            v = 255 * std::pow(std::clamp(v, 0.0, 255.0) / 255, 100.0 / settings.gamma);
            tables[c][static_cast<std::size_t>(level)] = clampLevel(v);
        }
    }

    m_adjusted.resize(work.size());
    const std::size_t rowBytes = static_cast<std::size_t>(m_width) * 3;
    for (int y = 0; y < m_height; ++y) {
        const std::uint8_t* in = work.data() + y * rowBytes;
        std::uint8_t* out = m_adjusted.data() + (m_height - 1 - y) * rowBytes;
        for (std::size_t i = 0; i < rowBytes; i += 3) {
            const int luma = (29 * in[i] + 150 * in[i + 1] + 77 * in[i + 2]) >> 8;
            for (std::size_t c = 0; c < 3; ++c) {
                const int level = luma + (in[i + c] - luma) * settings.saturation / 64;
                out[i + c] = tables[c][static_cast<std::size_t>(std::clamp(level, 0, 255))];
            }
        }
    }
    m_adjustedFor = settings;
}

void SimulatedPicture::render(int width, int height, std::int64_t frameNumber, const PictureSettings& settings,
                              std::vector<std::uint8_t>& frame)
{
    if (width != m_width || height != m_height || m_scene.empty()) {
        buildScene(width, height);
        m_adjustedFor.reset();
    }
    if (m_adjustedFor != settings) {
        buildAdjusted(settings);
    }
    frame = m_adjusted;
    auto pixel = [&](int x, int y) { return frame.data() + (static_cast<std::size_t>(height - 1 - y) * width + x) * 3; };

    // A dark particle drifting left to right on a gentle wave, with a soft edge.
    const double radius = std::max(3, height / 28);
    const double phase = static_cast<double>(frameNumber % kParticlePeriod) / kParticlePeriod;
    const double px = -radius + phase * (width + 2 * radius);
    const double py = height * 0.3 + height * 0.06 * std::sin(2 * std::numbers::pi * frameNumber / 450.0);
    for (int y = std::max(0, int(py - radius - 1)); y <= std::min(height - 1, int(py + radius + 1)); ++y) {
        for (int x = std::max(0, int(px - radius - 1)); x <= std::min(width - 1, int(px + radius + 1)); ++x) {
            const double cover = std::clamp(radius + 0.5 - std::hypot(x - px, y - py), 0.0, 1.0);
            std::uint8_t* p = pixel(x, y);
            for (int c = 0; c < 3; ++c) {
                p[c] = static_cast<std::uint8_t>(p[c] * (1 - 0.8 * cover));
            }
        }
    }

    // The frame counter: white digits on a black box in the top-left corner.
    const int scale = std::max(1, height / 240);
    const std::string counter = std::to_string(frameNumber);
    const int boxWidth = std::min(width, textWidth(counter, scale) + 4 * scale);
    const int boxHeight = std::min(height, (kGlyphHeight + 4) * scale);
    for (int y = 0; y < boxHeight; ++y) {
        std::memset(pixel(0, y), 0, static_cast<std::size_t>(boxWidth) * 3);
    }
    drawDigits(counter, 2 * scale, 2 * scale, scale, [&](int x, int y) {
        if (x < boxWidth && y < boxHeight) {
            std::memset(pixel(x, y), 255, 3);
        }
    });
}
