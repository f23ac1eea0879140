#pragma once

#include "measure/measureshape.h"
#include "measure/measuretool.h"

#include <QLine>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class MeasureSession;
class QPainter;

/// The pen, fonts and colors the owner sets on the measurement view; every finished shape
/// copies what it uses.
struct ShapeStyle {
    PenStyle penStyle = PenStyle::Solid;
    uint32_t penWidth = 1;
    Rgb penColor = kDefaultShapeColor;
    ShapeFont labelFont = ShapeFont::arial(14);
    Rgb labelColor = kDefaultShapeColor;
    ShapeFont textFont = ShapeFont::arial(12);
    Rgb textColor = kDefaultShapeColor;
};

/// What a gesture needs from the widget it runs in.
class GestureHost {
public:
    virtual ~GestureHost() = default;

    virtual Tool tool() const = 0;
    virtual bool measuring() const = 0;
    virtual const ShapeStyle& style() const = 0;
    /// Length of one canvas pixel at scale 1 and the view scale, for readouts.
    virtual double pixelLength() const = 0;
    virtual double viewScale() const = 0;
    /// Whether the view scale came from a calibration rather than a rate.
    virtual bool scaleCalibrated() const = 0;

    /// The part of the client area that shows the picture; gestures start only inside it.
    virtual QRect visiblePictureRect() const = 0;
    virtual MeasurePoint toCanvas(QPoint client) const = 0;
    virtual QPoint toClient(MeasurePoint canvas) const = 0;
    virtual QSize textSize(const QString& text, const ShapeFont& font) const = 0;

    /// Routes all pointer input to the view and keeps the pointer inside CONFINEMENT
    /// (client coordinates) until released.
    virtual void capturePointer(const QRect& confinement) = 0;
    virtual void releasePointer() = 0;

    /// A measured line was added to the shape list; LENGTH in canvas pixels.
    virtual void measuredLineFinished(double length) = 0;
    /// A finished shape was added to the shape list.
    virtual void shapeAdded() = 0;
    /// Everything shown may have changed: redraw it all.
    virtual void repaintAll() = 0;
    /// Only the temporary outline changed.
    virtual void repaintFeedback() = 0;
};

/// The click-by-click placing of shapes: which tool's gesture is under way, its points, the
/// record the continuous line and polygon fill, and the temporary outline that follows the
/// pointer. Finished shapes go to the session's shape list. Points arrive in client
/// coordinates and become canvas points when a record is made.
class MeasureGesture {
public:
    MeasureGesture(MeasureSession& session, GestureHost& host);

    void click(QPoint point);
    void doubleClick(QPoint point);
    void move(QPoint point);
    void rightClick();

    /// Stores the text the next click of the text tool places.
    void setPendingText(const QString& text) { m_pendingText = text; }
    const QString& pendingText() const { return m_pendingText; }

    /// Another tool was chosen: the outline of the old one stops following the pointer,
    /// the gesture itself goes on.
    void toolChanged();

    /// Draws what the user sees of the gesture over the finished picture: the segments
    /// already placed, with the pen, and the outline to the pointer, inverted.
    void paintFeedback(QPainter& painter) const;

private:
    /// Which gesture is under way and how far it got. A gesture goes on with its own tool
    /// when another one is chosen; the pointer outline follows only while its tool is chosen.
    enum class Phase {
        Idle,
        LineEnd,                 ///< one end placed; the next click ends the line
        RadiusCircleEdge,        ///< centre placed; the next click sets the radius
        DiameterCircleEnd,       ///< one end of the diameter placed
        RectangleCorner,         ///< one corner placed
        AngleVertex,             ///< first arm end placed; the next click places the vertex
        AngleSecondArm,          ///< vertex placed; the next click ends the second arm
        ContinuousLineStarted,   ///< first vertex placed
        ContinuousLineSegments,  ///< measured segments placed; a double click ends the line
        PolygonStarted,          ///< first vertex placed
        PolygonEdges,            ///< edges placed; a double click closes the polygon
        ThreePointCircleSecond,  ///< first point placed
        ThreePointCircleThird,   ///< two points placed
        FourPointAngleLine,      ///< one end of a line of the four-point angle placed
    };
    enum class Band { None, Line, Circle, DiameterCircle, Rectangle };

    void start(QPoint point);
    void continueGesture(QPoint point);
    void finishLine(QPoint point);
    void continueContinuousLine(QPoint point);
    void finishContinuousLine(QPoint point);
    void continuePolygon(QPoint point);
    void closePolygon(QPoint point);
    void continueAngle(QPoint point);
    void continueFourPointAngle(QPoint point);
    void continueThreePointCircle(QPoint point);
    void finishTwoPointShape(ShapeKind kind, QPoint point);
    void placeText(QPoint point);

    void capture(QPoint point);
    void release();
    void finish(MeasureShape shape);
    MeasureShape newShape(ShapeKind kind, bool withLabelStyle) const;
    void applyPen(MeasureShape& shape) const;
    void applyLabelStyle(MeasureShape& shape) const;
    std::vector<std::string> labelsFor(ShapeKind kind, const std::vector<MeasurePoint>& points,
                                       std::size_t emptyLabels) const;
    MeasurePoint canvas(QPoint client) const;
    std::vector<QLine> placedSegments() const;

    MeasureSession& m_session;
    GestureHost& m_host;
    QString m_pendingText;

    Phase m_phase = Phase::Idle;
    QPoint m_start;
    QPoint m_last;
    QPoint m_armPoint;
    QPoint m_secondPoint;
    /// The first line of a four-point angle, kept for its second line. It stays on screen
    /// and waits while other shapes are placed; the next four-point angle's line ends it.
    std::optional<QLine> m_firstLine;

    /// The continuous line or polygon being built.
    std::optional<MeasureShape> m_inProgress;

    Band m_band = Band::None;
    QPoint m_bandFrom;
    QPoint m_bandTo;
};
