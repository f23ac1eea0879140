#include "ui/tooltiptable.h"

#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QTextDocument>
#include <QToolTip>

#include <algorithm>

ToolTipTable::ToolTipTable(int capacity, int textBufferSize, QObject* parent)
    : QObject(parent)
    , m_capacity(capacity)
    , m_textBufferSize(textBufferSize)
{
    m_entries.reserve(static_cast<size_t>(std::max(0, capacity)));
    m_delay.setSingleShot(true);
    connect(&m_delay, &QTimer::timeout, this, &ToolTipTable::showPendingTip);
}

ToolTipTable::~ToolTipTable()
{
    hideTip();
}

bool ToolTipTable::addEntry(QWidget* button, int id, const QString& text)
{
    if (button == nullptr || count() >= m_capacity) {
        return false;
    }
    Entry entry;
    entry.button = button;
    entry.id = id;
    entry.screenRect = QRect(button->mapToGlobal(QPoint(0, 0)), button->size());
    entry.text = text.left(std::max(0, m_textBufferSize - 1));
    m_entries.push_back(entry);
    // The tip watches the button's own mouse messages, moves without a button held too.
    button->setMouseTracking(true);
    button->installEventFilter(this);
    return true;
}

bool ToolTipTable::create(QWidget* owner)
{
    if (owner == nullptr || m_owner != nullptr) {
        return false;
    }
    m_owner = owner;
    m_ownerWindow = owner->window();
    // The tip is placed at screen positions taken from the buttons' rectangles, so they
    // must follow the window when it is moved.
    m_ownerWindow->installEventFilter(this);
    return true;
}

bool ToolTipTable::registerAll()
{
    if (m_owner == nullptr) {
        return false;
    }
    removeAll();
    refreshRects();
    for (Entry& entry : m_entries) {
        entry.registered = entry.button != nullptr;
    }
    return true;
}

void ToolTipTable::removeAll()
{
    for (Entry& entry : m_entries) {
        entry.registered = false;
    }
    m_delay.stop();
    m_pending = nullptr;
    hideTip();
}

bool ToolTipTable::isRegistered(const QWidget* button) const
{
    for (const Entry& entry : m_entries) {
        if (entry.registered && entry.button == button) {
            return true;
        }
    }
    return false;
}

QString ToolTipTable::tipText(const QWidget* button) const
{
    for (const Entry& entry : m_entries) {
        if (entry.registered && entry.button == button) {
            return entry.text;
        }
    }
    return QString();
}

bool ToolTipTable::relayMouse(const QPoint& screenPosition)
{
    for (const Entry& entry : m_entries) {
        if (entry.screenRect.contains(screenPosition)) {
            m_trackingPosition = screenPosition;
            return true;
        }
    }
    return false;
}

QWidget* ToolTipTable::shownButton() const
{
    return QToolTip::isVisible() ? m_shown.data() : nullptr;
}

QString ToolTipTable::displayText(const QString& text)
{
    // A text that looks like markup would be rendered as markup; escape it instead.
    if (Qt::mightBeRichText(text)) {
        return Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap);
    }
    return text;
}

ToolTipTable::Entry* ToolTipTable::entryOf(const QObject* button)
{
    for (Entry& entry : m_entries) {
        if (entry.button == button) {
            return &entry;
        }
    }
    return nullptr;
}

void ToolTipTable::refreshRects()
{
    for (Entry& entry : m_entries) {
        if (entry.button != nullptr) {
            entry.screenRect = QRect(entry.button->mapToGlobal(QPoint(0, 0)),
                                     entry.button->size());
        }
    }
}

void ToolTipTable::startTip(Entry& entry)
{
    if (m_quiet == entry.button) {
        return;
    }
    const bool reshow = shownButton() != nullptr && m_shown != entry.button;
    if (m_shown == entry.button && shownButton() != nullptr) {
        return;
    }
    m_pending = entry.button;
    m_delay.start(reshow ? ReshowDelayMs : InitialDelayMs);
}

void ToolTipTable::showPendingTip()
{
    QWidget* button = m_pending;
    m_pending = nullptr;
    const Entry* entry = entryOf(button);
    if (button == nullptr || entry == nullptr || !entry->registered || entry->text.isEmpty()) {
        return;
    }
    // The tip goes where the mouse last was on this button.
    const QPoint position = entry->screenRect.contains(m_trackingPosition) ? m_trackingPosition
                                                                            : QCursor::pos();
    m_shown = button;
    m_quiet = button;
    QToolTip::showText(position, displayText(entry->text), button, button->rect(), AutoPopMs);
}

void ToolTipTable::hideTip()
{
    if (m_shown != nullptr && QToolTip::isVisible()) {
        QToolTip::hideText();
    }
    m_shown = nullptr;
}

bool ToolTipTable::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ownerWindow) {
        if (event->type() == QEvent::Move) {
            refreshRects();
        }
        return false;
    }
    Entry* entry = entryOf(watched);
    if (entry == nullptr) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseMove: {
        relayMouse(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        if (entry->registered && m_owner != nullptr) {
            startTip(*entry);
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            relayMouse(mouse->globalPosition().toPoint());
        }
        // A click puts the tip away until the mouse has left the button.
        m_delay.stop();
        m_pending = nullptr;
        hideTip();
        m_quiet = entry->button;
        break;
    }
    case QEvent::Leave:
    case QEvent::Hide:
        if (m_pending == entry->button) {
            m_delay.stop();
            m_pending = nullptr;
        }
        if (m_shown == entry->button) {
            hideTip();
        }
        if (m_quiet == entry->button) {
            m_quiet = nullptr;
        }
        break;
    default:
        break;
    }
    return false;
}
