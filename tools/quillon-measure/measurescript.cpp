#include "measurescript.h"

#include "measure/measureview.h"
#include "measure/measuresession.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QStringList>

#include <limits>

namespace {

std::optional<int> toInt(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// Colors and pen fields: decimal, or hexadecimal after "0x".
std::optional<uint32_t> toUnsigned(const QString& text)
{
    bool ok = false;
    const bool hex = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const uint value = hex ? text.mid(2).toUInt(&ok, 16) : text.toUInt(&ok, 10);
    return ok ? std::optional<uint32_t>(value) : std::nullopt;
}

// Scripts give colors as 0x00BBGGRR, red in the low byte; the top byte is ignored.
QColor colorFromBgr(uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void sendMouse(QWidget& view, QEvent::Type type, Qt::MouseButton button, QPoint point)
{
    const QPointF local(point);
    const Qt::MouseButtons held = type == QEvent::MouseMove ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, local, view.mapToGlobal(local), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &event);
}

void sendClick(QWidget& view, Qt::MouseButton button, QPoint point)
{
    sendMouse(view, QEvent::MouseButtonPress, button, point);
    const QPointF local(point);
    QMouseEvent release(QEvent::MouseButtonRelease, local, view.mapToGlobal(local), button,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &release);
}

}  // namespace

MeasureScript::MeasureScript(MeasureSession& session, MeasureView& view, std::FILE* output)
    : m_session(session)
    , m_view(view)
    , m_output(output)
    , m_scale(session)
{
    QObject::connect(&view, &MeasureView::calibrationNotified, &view, [this] { calibrationNotified(); });
}

void MeasureScript::print(const std::string& line)
{
    std::fprintf(m_output, "%s\n", line.c_str());
    std::fflush(m_output);
}

bool MeasureScript::applyScale(const QString& calibratedText, const QString& rateText)
{
    if (!m_scale.applyScale(m_view, calibratedText, rateText)) {
        print("error EnterRate");
        return false;
    }
    return true;
}

void MeasureScript::calibrationNotified()
{
    // As the window does: show the value, then take the scale from what the box shows.
    const ScaleCommands::Calibrated calibrated = m_scale.finishCalibration(m_view, m_rateText);
    m_calibratedText = calibrated.boxText;
    if (!calibrated.applied) {
        print("error EnterRate");
    }
    print("calibrated " + m_calibratedText.toStdString());
}

std::optional<QString> MeasureScript::run(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#'))) {
        return std::nullopt;
    }
    const QStringList words = trimmed.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString command = words.front();
    // Everything after the command word and one separating blank, kept as it stands.
    const QString rest = trimmed.mid(command.size() + 1);
    const auto argumentCount = [&](qsizetype count) -> std::optional<QString> {
        if (words.size() != count + 1) {
            return QStringLiteral("'%1' takes %2 argument(s)").arg(command).arg(count);
        }
        return std::nullopt;
    };
    const auto badNumber = [&] { return QStringLiteral("'%1': bad number").arg(command); };

    if (command == QLatin1String("rate")) {
        m_rateText = rest;
        applyScale({}, m_rateText);
    } else if (command == QLatin1String("scale")) {
        if (auto error = argumentCount(1)) {
            return error;
        }
        bool ok = false;
        const double scale = words[1].toDouble(&ok);
        if (!ok) {
            return badNumber();
        }
        m_view.setViewScale(scale);
        m_session.setWorkingScale(scale);
    } else if (command == QLatin1String("tool")) {
        if (auto error = argumentCount(2)) {
            return error;
        }
        const auto code = toInt(words[1]);
        const auto flag = toInt(words[2]);
        if (!code || !flag) {
            return badNumber();
        }
        m_view.setTool(toolFromCode(*code), *flag != 0);
    } else if (command == QLatin1String("text")) {
        m_view.setPendingText(rest);
    } else if (command == QLatin1String("pen")) {
        if (auto error = argumentCount(3)) {
            return error;
        }
        const auto style = toUnsigned(words[1]);
        const auto width = toUnsigned(words[2]);
        const auto color = toUnsigned(words[3]);
        if (!style || !width || !color) {
            return badNumber();
        }
        m_view.setPen(PenStyle(*style), *width, colorFromBgr(*color));
    } else if (command == QLatin1String("label-color") || command == QLatin1String("text-color")) {
        if (auto error = argumentCount(1)) {
            return error;
        }
        const auto color = toUnsigned(words[1]);
        if (!color) {
            return badNumber();
        }
        if (command == QLatin1String("label-color")) {
            m_view.setLabelColor(colorFromBgr(*color));
        } else {
            m_view.setTextColor(colorFromBgr(*color));
        }
    } else if (command == QLatin1String("click") || command == QLatin1String("dclick")
               || command == QLatin1String("move") || command == QLatin1String("rclick")
               || command == QLatin1String("scroll")) {
        if (auto error = argumentCount(2)) {
            return error;
        }
        const auto x = toInt(words[1]);
        const auto y = toInt(words[2]);
        if (!x || !y) {
            return badNumber();
        }
        const QPoint point(*x, *y);
        if (command == QLatin1String("click")) {
            sendClick(m_view, Qt::LeftButton, point);
        } else if (command == QLatin1String("dclick")) {
            sendMouse(m_view, QEvent::MouseButtonDblClick, Qt::LeftButton, point);
        } else if (command == QLatin1String("move")) {
            sendMouse(m_view, QEvent::MouseMove, Qt::NoButton, point);
        } else if (command == QLatin1String("rclick")) {
            sendClick(m_view, Qt::RightButton, point);
        } else {
            m_view.setScrollPosition(Qt::Horizontal, *x);
            m_view.setScrollPosition(Qt::Vertical, *y);
        }
    } else if (command == QLatin1String("calibrate")) {
        if (auto error = argumentCount(1)) {
            return error;
        }
        if (!m_scale.beginCalibration(m_view, m_calibratedText, m_rateText)) {
            print("error EnterRate");
            return std::nullopt;
        }
        // The dialog refuses what is not a positive length; the user then cancels.
        const std::optional<double> millimetres = ScaleCommands::acceptedDistance(words[1]);
        m_view.setCalibrationPrompt([millimetres] { return millimetres; });
    } else if (command == QLatin1String("undo") || command == QLatin1String("resume")
               || command == QLatin1String("clear")) {
        if (auto error = argumentCount(0)) {
            return error;
        }
        if (command == QLatin1String("undo")) {
            m_view.undo();
        } else if (command == QLatin1String("resume")) {
            m_view.redo();
        } else {
            m_view.clearShapes();
        }
    } else {
        return QStringLiteral("unknown command '%1'").arg(command);
    }
    // Deliver what the command posted, such as the calibration notification.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    return std::nullopt;
}

std::string MeasureScript::shapeListText(const MeasureSession& session)
{
    std::string text;
    for (const MeasureShape& shape : session.shapes()) {
        text += std::to_string(int32_t(shape.kind));
        text += '\t';
        for (std::size_t i = 0; i < shape.points.size(); ++i) {
            if (i > 0) {
                text += ' ';
            }
            text += std::to_string(shape.points[i].x) + ',' + std::to_string(shape.points[i].y);
        }
        for (const std::string& label : shape.labels) {
            text += '\t';
            text += label;
        }
        text += '\n';
    }
    return text;
}
