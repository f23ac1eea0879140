#pragma once

#include <QString>

#include <optional>

class MeasureView;
class MeasureSession;

/// Apply scale and calibration as the photo-measure window runs them. quillon-measure runs
/// the same code, so scripted measurements and the window always agree.
class ScaleCommands {
public:
    explicit ScaleCommands(MeasureSession& session)
        : m_session(session)
    {
    }

    /// Works out the scale from the calibrated-scale box and the rate box and gives it to
    /// VIEW (view scale) and the session (working scale). False, with nothing changed, when
    /// there is no rate to work from; the caller then asks for one ("EnterRate").
    bool applyScale(MeasureView& view, const QString& calibratedText, const QString& rateText) const;

    /// The Calibration command: applies the scale, then makes the next measured line on VIEW
    /// the calibration line and selects the measured line tool. False when the scale could
    /// not be applied; nothing is started then.
    bool beginCalibration(MeasureView& view, const QString& calibratedText, const QString& rateText) const;

    struct Calibrated {
        QString boxText;  ///< what the calibrated-scale box shows now ("%.1f")
        bool applied = false;  ///< whether the scale could be applied from it
    };
    /// After the view reported a calibration: the new text of the calibrated-scale box,
    /// applied as the scale, so both scales take the value as it is shown.
    Calibrated finishCalibration(MeasureView& view, const QString& rateText) const;

    /// The entry of the calibration dialog as millimetres: nothing unless it is a positive
    /// number (read as C's atof reads it).
    static std::optional<double> acceptedDistance(const QString& text);

private:
    MeasureSession& m_session;
};
