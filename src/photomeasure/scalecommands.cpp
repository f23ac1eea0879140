#include "photomeasure/scalecommands.h"

#include "measure/measureview.h"
#include "measure/measuresession.h"
#include "measure/measuretool.h"
#include "photomeasure/applyscale.h"

bool ScaleCommands::applyScale(MeasureView& view, const QString& calibratedText, const QString& rateText) const
{
    const std::optional<AppliedScale> scale =
        ::applyScale(calibratedText.toStdString(), rateText.toStdString(), m_session.pictureWidth(),
                     m_session.pictureHeight());
    if (!scale) {
        return false;
    }
    view.setViewScale(scale->viewScale, scale->calibrated);
    m_session.setWorkingScale(scale->workingScale);
    return true;
}

bool ScaleCommands::beginCalibration(MeasureView& view, const QString& calibratedText,
                                     const QString& rateText) const
{
    if (!applyScale(view, calibratedText, rateText)) {
        return false;
    }
    view.beginCalibration();
    view.setTool(Tool::Line, true);
    return true;
}

ScaleCommands::Calibrated ScaleCommands::finishCalibration(MeasureView& view, const QString& rateText) const
{
    Calibrated result;
    result.boxText = QString::fromStdString(calibratedScaleText(m_session.calibrationValue()));
    result.applied = applyScale(view, result.boxText, rateText);
    return result;
}

std::optional<double> ScaleCommands::acceptedDistance(const QString& text)
{
    // A negative length would turn every later readout negative; treat it like any other
    // entry that is not a length.
    const double millimetres = numberFromText(text.toStdString());
    if (millimetres > 0.0) {
        return millimetres;
    }
    return std::nullopt;
}
