#include "ui/menustyle.h"

#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace {

// A one-pixel frame line and a pixel of padding inside it, so the rows never touch the border.
constexpr int kFrameWidth = 1;
constexpr int kPadding = 1;

QColor colorOf(const QStyleOption& option, QPalette::ColorRole role)
{
    return option.palette.color(QPalette::Active, role);
}

QFont boldFont(const QFont& font)
{
    QFont bold = font;
    bold.setWeight(QFont::Bold);
    return bold;
}

// The icon's shape in one color: every pixel the icon covers (alpha at least half),
// nothing where it is empty.
QImage silhouette(const QImage& icon, const QColor& color)
{
    QImage result(icon.size(), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    const QImage source = icon.convertToFormat(QImage::Format_ARGB32);
    const QRgb solid = color.rgb();
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            if (qAlpha(in[x]) >= 128) {
                out[x] = solid;
            }
        }
    }
    return result;
}

// The box under an icon or tick: sunk in for a ticked item, standing out for a selected one.
void drawIconBox(QPainter& painter, const QRect& box, const QStyleOption& option, bool selected, bool disabled,
                 bool ticked)
{
    const QColor light = colorOf(option, QPalette::Light);
    const QColor dark = colorOf(option, QPalette::Dark);
    painter.fillRect(box, ticked && !selected ? light : colorOf(option, QPalette::Window));
    if (disabled || (!ticked && !selected)) {
        return;
    }
    painter.setPen(ticked ? dark : light);
    painter.drawLine(box.left(), box.top(), box.right() - 1, box.top());
    painter.drawLine(box.left(), box.top(), box.left(), box.bottom() - 1);
    painter.setPen(ticked ? light : dark);
    painter.drawLine(box.left(), box.bottom(), box.right(), box.bottom());
    painter.drawLine(box.right(), box.top(), box.right(), box.bottom());
}

void drawIcon(QPainter& painter, const QRect& box, const QIcon& icon, const QStyleOption& option, bool disabled)
{
    if (box.isEmpty()) {
        return;
    }
    const QPixmap picture = icon.pixmap(box.size());
    if (picture.isNull()) {
        return;
    }
    if (!disabled) {
        painter.drawPixmap(box, picture);
        return;
    }
    // Embossed: the icon's shape in the light color one pixel down and right, then in the
    // dark color in place, so a greyed item still shows what it is.
    const QImage shape = picture.toImage().scaled(box.size());
    painter.drawImage(box.topLeft() + QPoint(1, 1), silhouette(shape, colorOf(option, QPalette::Light)));
    painter.drawImage(box.topLeft(), silhouette(shape, colorOf(option, QPalette::Dark)));
}

// Three parallel strokes in an 8 x 8 cell centred in BOX, each two pixels down-right and
// then up-right, drawn pixel by pixel so that it looks the same at any scale and smoothing.
void drawTick(QPainter& painter, const QRect& box)
{
    const int x0 = box.left() + (box.width() - 8) / 2;
    const int y0 = box.top() + (box.height() - 8) / 2;
    painter.setPen(Qt::black);
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < 2; ++i) {
            painter.drawPoint(x0 + i, y0 + 3 + k + i);
        }
        for (int i = 0; i < 5; ++i) {
            painter.drawPoint(x0 + 2 + i, y0 + 5 + k - i);
        }
    }
}

// One line, vertically centred; a tab after the first character sends the rest to the
// right edge.
void drawLine(QPainter& painter, const QRect& rect, const QString& text, const QColor& color)
{
    painter.setPen(color);
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    if (tab > 0) {
        painter.drawText(rect, Qt::AlignLeft | flags, text.left(tab));
        painter.drawText(rect, Qt::AlignRight | flags, text.mid(tab + 1));
    } else {
        painter.drawText(rect, Qt::AlignLeft | flags, text);
    }
}

}  // namespace

MenuStyle::MenuStyle() = default;

void MenuStyle::apply(QMenu& menu, const QColor& background, const QColor& selection)
{
    auto* style = new MenuStyle;
    style->setParent(&menu);
    menu.setStyle(style);
    QPalette palette = menu.palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::Highlight, selection);
    menu.setPalette(palette);
}

int MenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    switch (metric) {
    case PM_MenuPanelWidth:
        return kFrameWidth;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return kPadding;
    case PM_SmallIconSize:
        return kIconSize;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int MenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                         QStyleHintReturn* returnData) const
{
    switch (hint) {
    case SH_Menu_AllowActiveAndDisabled:
        // A disabled item can be highlighted (and shows it cannot be chosen), as in any menu.
        return 1;
    case SH_Menu_SupportsSections:
        return 0;
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

QSize MenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                  const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || item == nullptr) {
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }
    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        // Half a check mark high: the native menus' separator height.
        return QSize(1, baseStyle()->pixelMetric(PM_IndicatorHeight, nullptr, widget) >> 1);
    }
    // Measured in bold, so the default item fits as well as the others.
    const QSize text = QFontMetrics(boldFont(item->font)).size(Qt::TextSingleLine, item->text);
    return QSize(2 * kIconSize + 12 + text.width() + 1, std::max(text.height(), kIconSize + 4));
}

void MenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const
{
    switch (element) {
    case PE_PanelMenu:
        painter->fillRect(option->rect, colorOf(*option, QPalette::Window));
        [[fallthrough]];
    case PE_FrameMenu:
        painter->setPen(colorOf(*option, QPalette::Dark));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void MenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const
{
    if (element == CE_MenuEmptyArea) {
        return;  // the panel has been painted whole already, frame included
    }
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuItem || item == nullptr) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const QRect& row = item->rect;
    const QColor background = colorOf(*item, QPalette::Window);
    painter->save();
    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        painter->fillRect(row, background);
        const int y = row.top() + (row.height() >> 1);
        painter->setPen(colorOf(*item, QPalette::Dark));
        painter->drawLine(row.left(), y, row.right(), y);
        painter->setPen(colorOf(*item, QPalette::Light));
        painter->drawLine(row.left(), y + 1, row.right(), y + 1);
        painter->restore();
        return;
    }

    const bool selected = item->state.testFlag(State_Selected);
    const bool disabled = !item->state.testFlag(State_Enabled);
    const bool ticked = item->checkType != QStyleOptionMenuItem::NotCheckable && item->checked;
    const bool hasIcon = !item->icon.isNull();
    painter->fillRect(row, selected ? colorOf(*item, QPalette::Highlight) : background);

    const QRect box(row.left(), row.top(), row.height(), row.height());
    if (hasIcon || ticked) {
        drawIconBox(*painter, box, *item, selected, disabled, ticked);
    }
    if (hasIcon) {
        drawIcon(*painter, box.adjusted(2, 2, -2, -2), item->icon, *item, disabled);
    } else if (ticked) {
        drawTick(*painter, box.adjusted(2, 2, -2, -2));
    }

    const int textLeft = row.left() + row.height() + 2;
    const QRect textRect(textLeft, row.top(), std::max(0, row.left() + row.width() - kIconSize - textLeft),
                         row.height());
    painter->setFont(item->menuItemType == QStyleOptionMenuItem::DefaultItem ? boldFont(item->font) : item->font);
    if (disabled) {
        if (!selected) {
            drawLine(*painter, textRect.translated(1, 1), item->text, colorOf(*item, QPalette::HighlightedText));
        }
        drawLine(*painter, textRect, item->text, item->palette.color(QPalette::Disabled, QPalette::WindowText));
    } else {
        drawLine(*painter, textRect, item->text,
                 colorOf(*item, selected ? QPalette::HighlightedText : QPalette::WindowText));
    }
    painter->restore();
}
