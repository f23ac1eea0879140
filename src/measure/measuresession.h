#pragma once

#include "measure/measureshape.h"
#include "measure/scale.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

/// The measurement state that outlives any one measurement view: the shape list and its
/// undo history, the scales, the display mode, the scale text read from a picture's file
/// name and the size the last picture was published with. Made once in main() and passed
/// by reference. The functions only change lists and values; repainting is the view's job.
class MeasureSession
{
public:
    /// Bytes of the name scale text buffer, its terminating zero included.
    static constexpr std::size_t kNameScaleCapacity = 20;

    // --- shapes and history ---------------------------------------------------------

    /// Finished shapes, oldest first; drawn in this order.
    const std::vector<MeasureShape>& shapes() const { return m_shapes; }
    /// Shapes taken back by Undo, newest last.
    const std::vector<MeasureShape>& redoShapes() const { return m_redo; }

    /// Appends a finished shape to the shape list.
    void addShape(MeasureShape shape);

    /// Moves the newest shape to the redo list; nothing when the shape list is empty.
    void undo();
    /// Moves the newest undone shape back to the shape list, provided no shape was
    /// finished since the last Undo or Resume; otherwise (or with an empty redo list)
    /// nothing changes.
    void redo();
    bool hasShapes() const { return !m_shapes.empty(); }
    bool hasRedo() const { return !m_redo.empty(); }
    /// Whether there is work the user may want to save before the shapes are thrown away:
    /// anything in either list, or anything remembered by the last markChecked or the
    /// history count. So it is true whenever something is drawn or undone, and once more
    /// right after both lists were emptied, until markChecked is called on the empty lists.
    bool hasUnsavedWork() const;
    /// The user was asked about the work there is now: remembers the shape count and sets
    /// the history count to the redo count.
    void markChecked();
    /// Deletes every record of both lists.
    void clearShapes();

    /// The history count kept beside the lists: the shape count at the first Undo of the
    /// run, less one for each Undo while above 0, plus one for each Resume that restores;
    /// markChecked resets it. Exposed for tests.
    std::size_t historyCount() const { return m_historyCount; }

    // --- scales ---------------------------------------------------------------------

    double workingScale() const { return m_workingScale; }
    void setWorkingScale(double scale) { m_workingScale = scale; }
    /// Result of the last calibration; 0 until one succeeded.
    double calibrationValue() const { return m_calibrationValue; }
    /// Brings back a calibration value kept with reopened measurements.
    void setCalibrationValue(double value) { m_calibrationValue = value; }
    /// Millimetres last entered in the calibration dialog.
    double actualDistance() const { return m_actualDistance; }
    void setActualDistance(double millimetres) { m_actualDistance = millimetres; }

    /// Calibrates from a finished line of LINELENGTH canvas pixels read with PIXELLENGTH
    /// and VIEWSCALE against the actual distance entered last: stores the new scale as
    /// both working scale and calibration value and returns it. When no usable scale
    /// results (see calibratedScale) nothing changes and nothing is returned.
    std::optional<double> calibrate(double lineLength, double pixelLength, double viewScale);
    /// Takes VALUE, the result of an earlier calibration, as if calibrated now: working
    /// scale and calibration value.
    void useCalibration(double value)
    {
        m_workingScale = value;
        m_calibrationValue = value;
    }

    // --- display mode, picture size, name scale text ---------------------------------

    DisplayMode displayMode() const { return m_displayMode; }
    void setDisplayMode(DisplayMode mode) { m_displayMode = mode; }

    /// Size of the picture the view loaded last (1280 x 1024 until one is published).
    int32_t pictureWidth() const { return m_pictureWidth; }
    int32_t pictureHeight() const { return m_pictureHeight; }
    /// Fitted-mode canvas of that picture (640 x 480 until one is published).
    CanvasSize fittedCanvas() const { return m_fittedCanvas; }
    /// Records a loaded picture's size and its fitted-mode canvas.
    void publishPicture(int32_t width, int32_t height);

    /// Scale text taken from the picture's file name, or empty.
    std::string_view nameScaleText() const;
    /// Stores TEXT cut to 19 bytes (and at its first zero byte), zero-filling the rest.
    void setNameScaleText(std::string_view text);

private:
    std::vector<MeasureShape> m_shapes;
    std::vector<MeasureShape> m_redo;
    std::size_t m_rememberedCount = 0;
    std::size_t m_historyCount = 0;
    bool m_historyStarted = false;
    bool m_finishedSinceHistoryStep = false;

    double m_workingScale = 0.0;
    double m_calibrationValue = 0.0;
    double m_actualDistance = 0.0;

    DisplayMode m_displayMode = DisplayMode::Fitted;
    int32_t m_pictureWidth = 1280;
    int32_t m_pictureHeight = 1024;
    CanvasSize m_fittedCanvas{640, 480};
    std::array<char, kNameScaleCapacity> m_nameScale{};
};
