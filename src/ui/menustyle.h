#pragma once

#include <QProxyStyle>

class QMenu;

/// The look of our pop-up menus over any platform style: every row has a square box at its
/// left for the item's icon (or a tick), the text beside it, a raised box under the icon of
/// the selected row, an etched line for a separator and an embossed icon for a disabled
/// item. The menu's palette gives the colors: Window the background, Highlight the selected
/// row.
class MenuStyle : public QProxyStyle {
    Q_OBJECT

public:
    /// Side of the icons the rows are measured for.
    static constexpr int kIconSize = 16;

    MenuStyle();

    /// Gives MENU this look on BACKGROUND with SELECTION under the selected row. The style
    /// is the menu's own and goes with it.
    static void apply(QMenu& menu, const QColor& background, const QColor& selection);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};
