#include "measure/measuresession.h"

#include <algorithm>
#include <cstring>
#include <utility>

void MeasureSession::addShape(MeasureShape shape)
{
    m_shapes.push_back(std::move(shape));
    m_finishedSinceHistoryStep = true;
}

void MeasureSession::undo()
{
    // The history count starts at the first Undo of the run and is otherwise only nudged
    // by Undo, Resume and markChecked; hasUnsavedWork's answer depends on it.
    if (!m_historyStarted) {
        m_historyStarted = true;
        m_historyCount = m_shapes.size();
    }
    if (m_historyCount > 0) {
        --m_historyCount;
    }
    if (!m_shapes.empty()) {
        m_redo.push_back(std::move(m_shapes.back()));
        m_shapes.pop_back();
    }
    m_finishedSinceHistoryStep = false;
}

// Redo is offered only while nothing new was drawn since the last Undo or Resume: bringing
// an old shape back on top of newer work would reorder the drawing, and the history count
// cannot tell that case apart reliably, so a flag set by addShape decides. Nothing is
// ever deleted here.
void MeasureSession::redo()
{
    if (m_redo.empty() || m_finishedSinceHistoryStep) {
        return;
    }
    m_shapes.push_back(std::move(m_redo.back()));
    m_redo.pop_back();
    ++m_historyCount;
}

bool MeasureSession::hasUnsavedWork() const
{
    return !m_shapes.empty() || !m_redo.empty() || m_rememberedCount != 0 || m_historyCount != 0;
}

void MeasureSession::markChecked()
{
    m_rememberedCount = m_shapes.size();
    m_historyCount = m_redo.size();
}

void MeasureSession::clearShapes()
{
    m_shapes.clear();
    m_redo.clear();
}

std::optional<double> MeasureSession::calibrate(double lineLength, double pixelLength, double viewScale)
{
    const std::optional<double> value =
        calibratedScale(lineLength, pixelLength, viewScale, m_actualDistance, m_workingScale);
    if (value) {
        m_workingScale = *value;
        m_calibrationValue = *value;
    }
    return value;
}

void MeasureSession::publishPicture(int32_t width, int32_t height)
{
    m_pictureWidth = width;
    m_pictureHeight = height;
    m_fittedCanvas = fittedCanvasSize(width, height);
}

std::string_view MeasureSession::nameScaleText() const
{
    return {m_nameScale.data(), strnlen(m_nameScale.data(), m_nameScale.size())};
}

void MeasureSession::setNameScaleText(std::string_view text)
{
    m_nameScale.fill('\0');
    const std::size_t length = std::min(text.size(), m_nameScale.size() - 1);
    std::copy_n(text.data(), length, m_nameScale.data());
}
