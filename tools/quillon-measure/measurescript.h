#pragma once

#include "photomeasure/scalecommands.h"

#include <QString>

#include <cstdio>
#include <optional>
#include <string>

class MeasureView;
class MeasureSession;

/// The commands of a measurement script, one a line, run against a measurement view as the
/// photo-measure window and the user would drive it (see the tool's usage text).
class MeasureScript {
public:
    MeasureScript(MeasureSession& session, MeasureView& view, std::FILE* output);

    /// Runs one script line. Blank lines and lines starting with '#' do nothing. Returns why
    /// a line could not be understood; nothing when it ran.
    std::optional<QString> run(const QString& line);

    /// What the calibrated-scale box holds, as after a calibration.
    void setCalibratedText(const QString& text) { m_calibratedText = text; }

    /// The shape list, oldest first, one line a shape: the kind number, the points as
    /// "x,y" separated by spaces, then each label, fields separated by one TAB.
    static std::string shapeListText(const MeasureSession& session);

private:
    bool applyScale(const QString& calibratedText, const QString& rateText);
    void calibrationNotified();
    void print(const std::string& line);

    MeasureSession& m_session;
    MeasureView& m_view;
    std::FILE* m_output;
    ScaleCommands m_scale;  // the photo-measure window's own Apply scale and calibration
    QString m_rateText;
    QString m_calibratedText;
};
