#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <vector>

/// The tool tips of one window's picture buttons: a fixed table of entries (button, id,
/// screen rectangle, tip text) and one tip that shows a registered button's text 100 ms
/// after the mouse comes to rest on it, also while the window is inactive, with every
/// character (an ampersand too) shown as typed.
///
/// The owner fills the table, creates the tip for its window and registers the tools;
/// registering again (after the buttons moved or were hidden) replaces every tool. The
/// table does not own the buttons or the window; it should live as long as the window.
class ToolTipTable : public QObject {
    Q_OBJECT

public:
    /// The tip appears after the mouse rests this long on a button, stays this long, and
    /// reappears this soon when the mouse goes straight on to another button.
    static constexpr int InitialDelayMs = 100;
    static constexpr int AutoPopMs = 10 * InitialDelayMs;
    static constexpr int ReshowDelayMs = InitialDelayMs / 5;

    struct Entry {
        QPointer<QWidget> button;
        int id = 0;
        QRect screenRect;  ///< the button's rectangle on the screen
        QString text;
        bool registered = false;
    };

    /// capacity entries; texts are cut to textBufferSize - 1 characters.
    ToolTipTable(int capacity, int textBufferSize, QObject* parent = nullptr);
    ~ToolTipTable() override;

    /// Fills the next entry; the button's screen rectangle is taken now. False when the
    /// table is full or button is null.
    bool addEntry(QWidget* button, int id, const QString& text);
    int count() const { return static_cast<int>(m_entries.size()); }
    int capacity() const { return m_capacity; }
    const Entry& entry(int index) const { return m_entries.at(static_cast<size_t>(index)); }

    /// Makes the tip for owner's window. False when owner is null or it exists already.
    bool create(QWidget* owner);
    bool isCreated() const { return m_owner != nullptr; }

    /// For every entry: drops its tool, then adds it again with the button's present
    /// rectangle and the entry's text. False (nothing registered) before create().
    bool registerAll();
    /// Drops every tool; the entries stay.
    void removeAll();

    bool isRegistered(const QWidget* button) const;
    /// The tip text of the registered tool of button; empty when it has none.
    QString tipText(const QWidget* button) const;

    /// The owner's mouse move, left press or left release at a screen position: when the
    /// position lies on an entry's rectangle (the first in table order) it becomes the
    /// tracking position, where the next tip appears. Returns whether it did.
    bool relayMouse(const QPoint& screenPosition);
    QPoint trackingPosition() const { return m_trackingPosition; }

    /// The button whose tip is showing, or null.
    QWidget* shownButton() const;

    /// How a tip text is handed to the tip so that it reads exactly as typed.
    static QString displayText(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Entry* entryOf(const QObject* button);
    void refreshRects();
    void startTip(Entry& entry);
    void showPendingTip();
    void hideTip();

    std::vector<Entry> m_entries;
    int m_capacity;
    int m_textBufferSize;
    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_ownerWindow;
    QTimer m_delay;
    QPointer<QWidget> m_pending;
    QPointer<QWidget> m_shown;
    QPointer<QWidget> m_quiet;  // a button that was clicked or already tipped, until the mouse leaves
    QPoint m_trackingPosition;
};
