#include "ui/menuxp.h"

#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace {

// A one-pixel line of the popup's own frame and a pixel of padding inside it, so the
// rows never touch the border.
constexpr int FrameWidth = 2;

// The icon's shape in one color: every pixel the icon covers (alpha at least half),
// nothing where it is empty.
QImage silhouette(const QImage& icon, const QColor& color)
{
    QImage result(icon.size(), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    const QImage source = icon.convertToFormat(QImage::Format_ARGB32);
    const QRgb solid = color.rgb();
    for (int y = 0; y < source.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            if (qAlpha(in[x]) >= 128) {
                out[x] = solid;
            }
        }
    }
    return result;
}

} // namespace

MenuXP::MenuXP(QWidget* owner)
    : QWidget(owner, Qt::Popup)
{
    setObjectName(QStringLiteral("CMenuXP"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    m_menuFont = QApplication::font("QMenu");
    const QPalette colors = QApplication::palette("QMenu");
    m_backgroundColor = colors.color(QPalette::Active, QPalette::Window);
    m_selectionColor = colors.color(QPalette::Active, QPalette::Highlight);
    m_textColor = colors.color(QPalette::Active, QPalette::WindowText);
    m_selectedTextColor = colors.color(QPalette::Active, QPalette::HighlightedText);
    m_disabledTextColor = colors.color(QPalette::Disabled, QPalette::WindowText);
    m_buttonHighlightColor = colors.color(QPalette::Active, QPalette::Light);
    m_buttonShadowColor = colors.color(QPalette::Active, QPalette::Dark);
}

MenuXP::~MenuXP()
{
    if (m_loop != nullptr) {
        m_loop->quit();
    }
}

bool MenuXP::appendItem(std::unique_ptr<MenuXPItem> item)
{
    if (!item || item->signature != MenuXPItem::ItemSignature) {
        return false;
    }
    Row row;
    row.item = std::move(item);
    m_rows.push_back(std::move(row));
    m_laidOut = false;
    updateGeometry();
    return true;
}

void MenuXP::appendSeparator()
{
    auto separator = std::make_unique<MenuXPItem>();
    separator->separator = true;
    appendItem(std::move(separator));
}

const MenuXPItem* MenuXP::item(int index) const
{
    if (index < 0 || index >= itemCount()) {
        return nullptr;
    }
    return m_rows[static_cast<size_t>(index)].item.get();
}

void MenuXP::setBackgroundColor(const QColor& color)
{
    m_backgroundColor = color;
    update();
}

void MenuXP::setSelectionColor(const QColor& color)
{
    m_selectionColor = color;
    update();
}

MenuXP::Row* MenuXP::findRow(int commandId)
{
    for (Row& row : m_rows) {
        if (!row.item->separator && row.item->commandId == commandId) {
            return &row;
        }
    }
    return nullptr;
}

bool MenuXP::setItemEnabled(int commandId, bool enabled)
{
    Row* row = findRow(commandId);
    if (row == nullptr) {
        return false;
    }
    row->enabled = enabled;
    update();
    return true;
}

bool MenuXP::setItemChecked(int commandId, bool checked)
{
    Row* row = findRow(commandId);
    if (row == nullptr) {
        return false;
    }
    row->checked = checked;
    update();
    return true;
}

void MenuXP::setDefaultItem(int commandId)
{
    m_defaultCommand = commandId;
    m_laidOut = false;
    update();
}

QSize MenuXP::checkMarkSize() const
{
    return QSize(style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this),
                 style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this));
}

QFont MenuXP::boldFont() const
{
    QFont bold = m_menuFont;
    bold.setWeight(QFont::Bold);
    return bold;
}

void MenuXP::layoutRows() const
{
    const QSize checkMark = checkMarkSize();
    const QFontMetrics boldMetrics(boldFont());
    int width = 0;
    int y = FrameWidth;
    for (const Row& row : m_rows) {
        const MenuXPItem& item = *row.item;
        const QSize textSize = item.separator
            ? QSize()
            : boldMetrics.size(Qt::TextSingleLine, item.text);
        const MenuXPLayout::ItemSize size =
            MenuXPLayout::measureItem(item.separator, item.iconSize, textSize, checkMark);
        row.rect = QRect(FrameWidth, y, 0, size.height);
        width = std::max(width, MenuXPLayout::rowWidth(size, checkMark));
        y += size.height;
    }
    // Every row is as wide as the widest, as in any menu.
    for (const Row& row : m_rows) {
        row.rect.setWidth(width);
    }
    m_contentSize = QSize(width + 2 * FrameWidth, y + FrameWidth);
    m_laidOut = true;
}

QSize MenuXP::sizeHint() const
{
    if (!m_laidOut) {
        layoutRows();
    }
    return m_contentSize;
}

QRect MenuXP::itemRect(int index) const
{
    if (index < 0 || index >= itemCount()) {
        return QRect();
    }
    if (!m_laidOut) {
        layoutRows();
    }
    return m_rows[static_cast<size_t>(index)].rect;
}

void MenuXP::popup(const QPoint& topLeft)
{
    layoutRows();
    m_selected = -1;
    m_chosen = 0;
    m_armed = false;
    const QSize size = m_contentSize;
    QPoint position = topLeft;
    // Keep the whole menu on the screen: one that would run off the bottom opens upwards
    // from the point, one that would run off the right edge moves left.
    QScreen* screen = QGuiApplication::screenAt(topLeft);
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        if (position.y() + size.height() > area.bottom() + 1) {
            position.setY(std::max(area.top(), topLeft.y() - size.height()));
        }
        if (position.x() + size.width() > area.right() + 1) {
            position.setX(std::max(area.left(), area.right() + 1 - size.width()));
        }
        position.setX(std::max(position.x(), area.left()));
        position.setY(std::max(position.y(), area.top()));
    }
    setGeometry(QRect(position, size));
    show();
    setFocus(Qt::PopupFocusReason);
}

int MenuXP::exec(const QPoint& topLeft)
{
    popup(topLeft);
    QEventLoop loop;
    m_loop = &loop;
    const QPointer<MenuXP> alive(this);
    if (isVisible()) {
        loop.exec();
    }
    if (!alive) {
        return 0;
    }
    m_loop = nullptr;
    return m_chosen;
}

void MenuXP::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (m_loop != nullptr) {
        m_loop->quit();
    }
}

int MenuXP::rowAt(const QPoint& position) const
{
    for (int i = 0; i < itemCount(); ++i) {
        if (m_rows[static_cast<size_t>(i)].rect.contains(position)) {
            return i;
        }
    }
    return -1;
}

void MenuXP::select(int index)
{
    if (index >= 0 && m_rows[static_cast<size_t>(index)].item->separator) {
        index = -1;
    }
    if (index != m_selected) {
        m_selected = index;
        update();
    }
}

void MenuXP::moveSelection(int step)
{
    const int count = itemCount();
    if (count == 0) {
        return;
    }
    int index = m_selected;
    if (index < 0) {
        index = step > 0 ? -1 : count;
    }
    // Disabled items can be highlighted, as in any menu; only separators are passed over.
    for (int tried = 0; tried < count; ++tried) {
        index = (index + step + count) % count;
        if (!m_rows[static_cast<size_t>(index)].item->separator) {
            select(index);
            return;
        }
    }
}

void MenuXP::choose(int index)
{
    if (index < 0 || index >= itemCount()) {
        return;
    }
    const Row& row = m_rows[static_cast<size_t>(index)];
    if (row.item->separator || !row.enabled) {
        return;
    }
    m_chosen = row.item->commandId;
    const int chosen = m_chosen;
    close();
    emit commandChosen(chosen);
}

void MenuXP::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (rect().contains(position)) {
        m_armed = true;
    }
    select(rowAt(position));
}

void MenuXP::mousePressEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (!rect().contains(position)) {
        // The popup's own handling closes it on a press outside.
        QWidget::mousePressEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton) {
        m_armed = true;
        select(rowAt(position));
    }
    event->accept();
}

void MenuXP::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !m_armed) {
        return;
    }
    choose(rowAt(event->position().toPoint()));
}

void MenuXP::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    select(-1);
}

void MenuXP::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Down:
        moveSelection(1);
        break;
    case Qt::Key_Up:
        moveSelection(-1);
        break;
    case Qt::Key_Home:
        m_selected = -1;
        moveSelection(1);
        break;
    case Qt::Key_End:
        m_selected = -1;
        moveSelection(-1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        choose(m_selected);
        break;
    case Qt::Key_Escape:
        close();
        break;
    default:
        break;
    }
    event->accept();
}

void MenuXP::paintEvent(QPaintEvent*)
{
    if (!m_laidOut) {
        layoutRows();
    }
    QPainter painter(this);
    painter.fillRect(rect(), m_backgroundColor);
    painter.setPen(m_buttonShadowColor);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    for (int i = 0; i < itemCount(); ++i) {
        paintRow(painter, i);
    }
}

void MenuXP::paintRow(QPainter& painter, int index)
{
    const Row& row = m_rows[static_cast<size_t>(index)];
    const MenuXPItem& item = *row.item;
    const QRect& rect = row.rect;

    if (item.separator) {
        painter.fillRect(rect, m_backgroundColor);
        const int y = MenuXPLayout::separatorLineY(rect);
        // An etched line: a shadow line with a highlight line under it.
        painter.setPen(m_buttonShadowColor);
        painter.drawLine(rect.left(), y, rect.right(), y);
        painter.setPen(m_buttonHighlightColor);
        painter.drawLine(rect.left(), y + 1, rect.right(), y + 1);
        return;
    }

    const bool selected = index == m_selected;
    const bool disabled = !row.enabled;
    const bool ticked = row.checked;
    const bool isDefault = m_defaultCommand != 0 && item.commandId == m_defaultCommand;

    drawBackground(painter, rect, selected, disabled);
    const QRect box = MenuXPLayout::iconBox(rect);
    const bool hasIcon = !item.icon.isNull();
    if (hasIcon || ticked) {
        drawButton(painter, box, selected, disabled, ticked);
    }
    if (hasIcon) {
        drawIcon(painter, box.adjusted(2, 2, -2, -2), item.icon, selected, disabled, ticked);
    } else if (ticked) {
        drawCheckMark(painter, box.adjusted(2, 2, -2, -2), selected);
    }
    drawItemText(painter, MenuXPLayout::textRect(rect, item.iconSize), item.text, selected,
             disabled, isDefault);
}

void MenuXP::drawBackground(QPainter& painter, const QRect& rect, bool selected, bool)
{
    painter.fillRect(rect, selected ? m_selectionColor : m_backgroundColor);
}

void MenuXP::drawButton(QPainter& painter, const QRect& box, bool selected, bool disabled,
                         bool ticked)
{
    painter.fillRect(box, ticked && !selected ? m_buttonHighlightColor : m_backgroundColor);
    if (disabled || (!ticked && !selected)) {
        return;
    }
    // A thin edge: pressed in for a ticked item, standing out for a selected one.
    const QColor& topLeft = ticked ? m_buttonShadowColor : m_buttonHighlightColor;
    const QColor& bottomRight = ticked ? m_buttonHighlightColor : m_buttonShadowColor;
    painter.setPen(topLeft);
    painter.drawLine(box.left(), box.top(), box.right() - 1, box.top());
    painter.drawLine(box.left(), box.top(), box.left(), box.bottom() - 1);
    painter.setPen(bottomRight);
    painter.drawLine(box.left(), box.bottom(), box.right(), box.bottom());
    painter.drawLine(box.right(), box.top(), box.right(), box.bottom());
}

void MenuXP::drawIcon(QPainter& painter, const QRect& box, const QIcon& icon, bool, bool disabled,
                       bool)
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
    // Embossed: the icon's shape in the highlight color one pixel down and right, then in
    // the shadow color in place, so a greyed item still shows what it is.
    const QImage shape = picture.toImage().scaled(box.size());
    painter.drawImage(box.topLeft() + QPoint(1, 1), silhouette(shape, m_buttonHighlightColor));
    painter.drawImage(box.topLeft(), silhouette(shape, m_buttonShadowColor));
}

void MenuXP::drawItemText(QPainter& painter, const QRect& rect, const QString& text, bool selected,
                       bool disabled, bool isDefault)
{
    painter.setFont(isDefault ? boldFont() : m_menuFont);
    if (disabled) {
        if (!selected) {
            textOut(painter, rect.translated(1, 1), text, m_selectedTextColor);
        }
        textOut(painter, rect, text, m_disabledTextColor);
        return;
    }
    textOut(painter, rect, text, selected ? m_selectedTextColor : m_textColor);
}

void MenuXP::drawCheckMark(QPainter& painter, const QRect& box, bool)
{
    painter.setPen(Qt::black);
    for (const QPoint& pixel : MenuXPLayout::checkMarkPixels(box)) {
        painter.drawPoint(pixel);
    }
}

void MenuXP::textOut(QPainter& painter, const QRect& rect, const QString& text,
                      const QColor& color)
{
    painter.setPen(color);
    const MenuXPLayout::TabSplit parts = MenuXPLayout::splitAtTab(text);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, parts.left);
    if (parts.split) {
        painter.drawText(rect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                         parts.right);
    }
}
