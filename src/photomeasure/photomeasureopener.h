#pragma once

#include <QString>

#include <functional>

class CalibrationStore;
class LocalText;
class MeasureSession;
class Prompter;
class QWidget;
struct PhotoMeasureState;

/// What every photo-measure window works with: the process-wide measurement state, the
/// language, the prompter and the kept calibrations. All of them outlive the window.
struct PhotoMeasureContext {
    MeasureSession& session;
    PhotoMeasureState& state;
    const LocalText& text;
    Prompter& prompter;
    CalibrationStore& calibrations;
};

/// Opens PICTUREPATH in a photo-measure window owned by OWNER and runs it until the user
/// closes it. The file is first opened for reading; when that fails the user is told
/// ("the picture not open,please check the file exist!") and no window opens.
/// CALIBRATIONCHANGED (may be empty) runs each time a calibration gives a new scale.
/// Returns false when the picture could not be opened.
bool runPhotoMeasure(const QString& picturePath, PhotoMeasureContext context, QWidget* owner,
                     const std::function<void()>& calibrationChanged = {});
