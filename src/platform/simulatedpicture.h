#pragma once

#include <cstdint>
#include <optional>
#include <vector>

/// The six picture controls as the simulated camera applies them; the defaults leave the
/// scene as it is.
struct PictureSettings {
    int brightness = 0;        ///< -64 ... 64, added to every level
    int contrast = 32;         ///< 0 ... 64, around mid-grey
    int saturation = 64;       ///< 0 ... 128, 0 is grey
    int sharpness = 3;         ///< 0 ... 6, below 3 blurs, above 3 sharpens edges
    int gamma = 100;           ///< 72 ... 500, in hundredths
    int whiteBalance = 4600;   ///< 2800 ... 6500 K: lower is bluer, higher more orange
    bool whiteBalanceAutomatic = true;

    bool operator==(const PictureSettings&) const = default;
};

/// What the simulated microscope sees: a stage micrometer over a specimen, a particle drifting
/// across and a frame counter in the top-left corner. The output depends only on the size,
/// the frame number and the settings; the static layers are cached, so a frame costs a copy,
/// the particle and the counter.
class SimulatedPicture {
public:
    /// Fills FRAME with frame FRAMENUMBER: WIDTH × HEIGHT pixels of 24-bit BGR, rows bottom-up.
    void render(int width, int height, std::int64_t frameNumber, const PictureSettings& settings,
                std::vector<std::uint8_t>& frame);

private:
    void buildScene(int width, int height);
    void buildAdjusted(const PictureSettings& settings);

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_scene;     ///< specimen and micrometer, rows top-down
    std::vector<std::uint8_t> m_adjusted;  ///< the scene with the controls applied, rows bottom-up
    std::optional<PictureSettings> m_adjustedFor;
};
