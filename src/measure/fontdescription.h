#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

/// A logical-font record: what the pen and text dialogs hand to the measurement view and
/// what each shape keeps. Copied whole; the face name is a fixed 32-byte, zero-ended buffer.
struct FontDescription {
    int32_t height = 14;  ///< pixels; negative means character height, positive cell height
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 400;
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strikeOut = 0;
    uint8_t charSet = 134;
    uint8_t outPrecision = 3;
    uint8_t clipPrecision = 2;
    uint8_t quality = 1;
    uint8_t pitchAndFamily = 0x32;
    std::array<char, 32> faceName{'A', 'r', 'i', 'a', 'l'};

    /// The default font of the view's labels (height 14) or text items (height 12).
    static FontDescription arial(int32_t height)
    {
        FontDescription font;
        font.height = height;
        return font;
    }

    std::string_view face() const { return {faceName.data(), strnlen(faceName.data(), faceName.size())}; }

    /// Stores NAME cut to 31 bytes, zero-filling the rest.
    void setFace(std::string_view name)
    {
        faceName.fill('\0');
        std::memcpy(faceName.data(), name.data(), std::min(name.size(), faceName.size() - 1));
    }

    bool operator==(const FontDescription&) const = default;
};
