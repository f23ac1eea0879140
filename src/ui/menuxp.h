#pragma once

#include "ui/menuxpitem.h"
#include "ui/menuxplayout.h"

#include <QColor>
#include <QFont>
#include <QWidget>

#include <memory>
#include <vector>

class QEventLoop;

/// A pop-up menu that draws its own items: an icon box at the left of every row (the
/// item's icon, or a tick), the text beside it, and colors the owner may choose.
///
/// It lives for one showing: the owner makes it, appends items and separators, sets the
/// background and selection colors, shows it with exec() and deletes it when exec()
/// returns. The item records are deleted with the menu. Only the left mouse button and the
/// keyboard (arrows, Home, End, Enter, Space, Esc) choose.
class MenuXP : public QWidget {
    Q_OBJECT

public:
    explicit MenuXP(QWidget* owner = nullptr);
    ~MenuXP() override;

    /// Appends an item showing the record; the menu owns the record from now on. A null
    /// record or one without the item signature is refused (false) and destroyed unused.
    bool appendItem(std::unique_ptr<MenuXPItem> item);
    /// Appends a separator line (a record with the separator flag, command id 0).
    void appendSeparator();

    int itemCount() const { return static_cast<int>(m_rows.size()); }
    const MenuXPItem* item(int index) const;

    void setBackgroundColor(const QColor& color);
    QColor backgroundColor() const { return m_backgroundColor; }
    void setSelectionColor(const QColor& color);
    QColor selectionColor() const { return m_selectionColor; }
    QColor textColor() const { return m_textColor; }
    QColor selectedTextColor() const { return m_selectedTextColor; }
    QColor disabledTextColor() const { return m_disabledTextColor; }
    QFont menuFont() const { return m_menuFont; }

    /// Item states kept by the menu rather than the record; they address the first item
    /// with that command id and return false when there is none.
    bool setItemEnabled(int commandId, bool enabled);
    bool setItemChecked(int commandId, bool checked);
    /// The default item is drawn in the bold font; 0 clears it.
    void setDefaultItem(int commandId);

    /// Check-mark size of the menu style; separators are half as high, and every row is
    /// as much wider than the width its item asks for.
    QSize checkMarkSize() const;

    /// The row of an item, in the menu's own coordinates (valid once laid out).
    QRect itemRect(int index) const;
    /// The highlighted row, or -1.
    int selectedIndex() const { return m_selected; }

    /// Shows the menu with its top-left corner at the screen point (moved to stay on the
    /// screen), runs until it closes and returns the chosen command id, or 0 when the menu
    /// closed without a choice.
    int exec(const QPoint& topLeft);
    /// Shows the menu without waiting; the choice arrives by commandChosen().
    void popup(const QPoint& topLeft);

signals:
    /// An item was chosen; the menu has already closed.
    void commandChosen(int commandId);

protected:
    // The drawing steps of a row, in the order a row is drawn. A derived menu can give
    // any of them another look.
    virtual void drawBackground(QPainter& painter, const QRect& rect, bool selected,
                                bool disabled);
    virtual void drawButton(QPainter& painter, const QRect& box, bool selected, bool disabled,
                            bool ticked);
    virtual void drawIcon(QPainter& painter, const QRect& box, const QIcon& icon,
                          bool selected, bool disabled, bool ticked);
    virtual void drawItemText(QPainter& painter, const QRect& rect, const QString& text,
                          bool selected, bool disabled, bool isDefault);
    virtual void drawCheckMark(QPainter& painter, const QRect& box, bool selected);
    /// One line, vertically centred; a tab after the first character sends the rest of
    /// the text to the right edge.
    virtual void textOut(QPainter& painter, const QRect& rect, const QString& text,
                         const QColor& color);

    QSize sizeHint() const override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Row {
        std::unique_ptr<MenuXPItem> item;
        bool enabled = true;
        bool checked = false;
        mutable QRect rect;  // laid out on demand, also from const queries
    };

    void layoutRows() const;
    void paintRow(QPainter& painter, int index);
    int rowAt(const QPoint& position) const;
    void select(int index);
    void moveSelection(int step);
    void choose(int index);
    Row* findRow(int commandId);
    QFont boldFont() const;

    std::vector<Row> m_rows;
    QFont m_menuFont;
    QColor m_backgroundColor;
    QColor m_selectionColor;
    QColor m_textColor;
    QColor m_selectedTextColor;
    QColor m_disabledTextColor;
    QColor m_buttonHighlightColor;
    QColor m_buttonShadowColor;
    mutable QSize m_contentSize;
    int m_defaultCommand = 0;
    int m_selected = -1;
    int m_chosen = 0;
    mutable bool m_laidOut = false;
    bool m_armed = false;  // a release chooses only after a move or a press inside the menu
    QEventLoop* m_loop = nullptr;
};
