#pragma once

#include "measure/measurefile.h"

#include <QString>

#include <optional>

class MeasureSession;
class MeasureView;

/// The measurement file beside a picture, as the photo-measure window and quillon-measure
/// keep it: written at every save of the annotated picture, read when the picture is opened.
namespace MeasurementFiles {

/// The shapes and scales of VIEW and SESSION as a measurement file keeps them.
Measurements current(const MeasureView& view, const MeasureSession& session);

/// Writes the measurement file of VIEW's shapes beside PICTUREPATH, the picture the view
/// opened (never the rendered copy), through a temporary file renamed into place. With no
/// shapes the file still says so, so shapes saved earlier never come back stale. Returns
/// the system's reason when it could not be written.
std::optional<QString> saveBeside(const QString& picturePath, const MeasureView& view,
                                  const MeasureSession& session);

/// What opening a measurement file came to.
struct Opened {
    enum class Outcome { None, Restored, Refused };
    Outcome outcome = Outcome::None;
    QString file;      ///< the measurement file
    QString refusal;   ///< why it was refused (English)
    QString setAside;  ///< where a refused file beside a picture was moved; empty when it stayed
    MeasureScales scales;  ///< the scales restored
};

/// Reads FILE as the measurements of VIEW's picture. When it is accepted its shapes replace
/// the session's lists and its scales become the view's and the session's; when it is
/// refused (or cannot be read) nothing changes.
Opened load(const QString& file, MeasureView& view, MeasureSession& session);

/// Loads the measurement file beside PICTUREPATH when there is one. A refused file is moved
/// aside to "FILE.refused" (or "FILE.refused.N", never over an older one), so that the next
/// save does not write over what the user may still want.
Opened openBeside(const QString& picturePath, MeasureView& view, MeasureSession& session);

/// The calibrated-scale box's text that gives back SCALES' view scale, or empty when that
/// scale came from the rate.
QString calibratedBoxText(const MeasureScales& scales);

}  // namespace MeasurementFiles
