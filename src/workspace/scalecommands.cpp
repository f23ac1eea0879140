#include "workspace/scalecommands.h"

#include "measure/cmeasureview.h"
#include "measure/measuresession.h"
#include "measure/measureshape.h"
#include "workspace/applyscale.h"

bool ScaleCommands::applyScale(CMeasureView& view, const QString& calibratedText, const QString& rateText) const
{
    const std::optional<AppliedScale> scale =
        ::applyScale(calibratedText.toStdString(), rateText.toStdString(), m_session.pictureWidth(),
                     m_session.pictureHeight());
    if (!scale) {
        return false;
    }
    view.setViewScale(scale->viewScale);
    m_session.setWorkingScale(scale->workingScale);
    return true;
}

bool ScaleCommands::beginCalibration(CMeasureView& view, const QString& calibratedText,
                                     const QString& rateText) const
{
    if (!applyScale(view, calibratedText, rateText)) {
        return false;
    }
    view.BeginCalibration();
    view.SetTool(ToolCode::Line, 1);
    return true;
}

ScaleCommands::Calibrated ScaleCommands::finishCalibration(CMeasureView& view, const QString& rateText) const
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
