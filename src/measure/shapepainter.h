#pragma once

#include "measure/measureshape.h"
#include "measure/shapelayout.h"

#include <QColor>
#include <QFont>
#include <QPoint>

#include <string>
#include <utility>
#include <vector>

class QPainter;

/// Draws shape records: figures with each shape's own pen, unfilled, and labels with a
/// transparent background, their top-left corner at the anchor. Everything is drawn
/// without anti-aliasing, pixel for pixel, on screen and into saved pictures alike.
class ShapePainter {
public:
    explicit ShapePainter(QPainter& painter);

    /// One shape placed by PLACEMENT: a text item's text in its text font and color, any
    /// other kind's figure and then its labels in its label font and color.
    void paint(const MeasureShape& shape, const ShapePlacement& placement);

    /// TEXT with its top-left corner at TOPLEFT.
    void drawText(QPoint topLeft, const QString& text, const ShapeFont& font, const QColor& color);

private:
    const QFont& font(const ShapeFont& shapeFont);

    QPainter& m_painter;
    // Shapes mostly share two or three fonts; turning a record into a QFont asks the font
    // database, so each distinct font is turned once per painting.
    std::vector<std::pair<ShapeFont, QFont>> m_fonts;
};

/// An unfilled circle or ellipse inside the box from (LEFT, TOP) to (RIGHT, BOTTOM), the
/// right and bottom edges outside the box, as the classic drawing calls take it.
void drawEllipseOutline(QPainter& painter, int left, int top, int right, int bottom);

/// An unfilled rectangle between two opposite corners given in either order, the right
/// and bottom edges outside it.
void drawRectangleOutline(QPainter& painter, QPoint corner1, QPoint corner2);
