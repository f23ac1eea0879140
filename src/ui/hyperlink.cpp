#include "ui/hyperlink.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>

namespace {

// The control remembers which link owns it, so that a second link cannot take over a
// control whose events the first one already filters.
constexpr char LinkProperty[] = "quillonHyperLink";

constexpr QRgb HoverColor = qRgb(255, 0, 0);
constexpr QRgb LinkColor = qRgb(0, 0, 255);

} // namespace

HyperLink::HyperLink(QObject* parent)
    : QObject(parent)
    , m_opener(&HyperLink::openInDesktop)
{
}

HyperLink::~HyperLink()
{
    detach();
}

bool HyperLink::attach(QLabel* control)
{
    if (control == nullptr || m_control != nullptr) {
        return false;
    }
    if (control->property(LinkProperty).value<QObject*>() != nullptr) {
        return false;
    }
    m_control = control;
    control->setProperty(LinkProperty, QVariant::fromValue<QObject*>(this));

    // Mouse moves must reach the label even with no button held.
    m_controlTracked = control->hasMouseTracking();
    control->setMouseTracking(true);
    m_controlHadCursor = control->testAttribute(Qt::WA_SetCursor);
    m_controlCursor = control->cursor();
    control->setCursor(Qt::PointingHandCursor);

    const QWidget* fontSource = control->parentWidget() != nullptr ? control->parentWidget()
                                                                     : control;
    m_linkFont = fontSource->font();
    m_linkFont.setUnderline(true);

    control->installEventFilter(this);
    m_destroyedConnection = connect(control, &QObject::destroyed, this,
                                    [this] { forgetControl(); });
    control->update();
    return true;
}

bool HyperLink::setLink(const QString& label, const QString& target, bool repaint)
{
    if (label.size() > MaxLabelLength || target.size() > MaxTargetLength) {
        return false;
    }
    m_label = label;
    m_target = target;
    if (repaint && m_control != nullptr) {
        m_control->update();
    }
    return true;
}

QLabel* HyperLink::detach()
{
    QLabel* control = this->control();
    if (control != nullptr) {
        disconnect(m_destroyedConnection);
        control->removeEventFilter(this);
        if (QWidget::mouseGrabber() == control) {
            control->releaseMouse();
        }
        control->setProperty(LinkProperty, QVariant());
        control->setMouseTracking(m_controlTracked);
        if (m_controlHadCursor) {
            control->setCursor(m_controlCursor);
        } else {
            control->unsetCursor();
        }
        control->update();
    }
    m_control = nullptr;
    m_linkFont = QFont();
    m_hover = false;
    m_label.clear();
    m_target.clear();
    return control;
}

void HyperLink::forgetControl()
{
    // The control is going away: nothing of it may be touched any more.
    m_control = nullptr;
    m_linkFont = QFont();
    m_hover = false;
    m_label.clear();
    m_target.clear();
}

void HyperLink::setOpener(Opener opener)
{
    m_opener = std::move(opener);
}

QString HyperLink::shownText() const
{
    if (!m_label.isEmpty() || m_control == nullptr) {
        return m_label;
    }
    return control()->text().left(MaxLabelLength);
}

bool HyperLink::withinBorder(const QPoint& local, const QSize& size)
{
    return local.x() >= 0 && local.y() >= 0 && local.x() <= size.width()
        && local.y() <= size.height();
}

QUrl HyperLink::linkUrl(const QString& target)
{
    const QString text = target.trimmed();
    if (text.isEmpty()) {
        return QUrl();
    }
    static const QRegularExpression webOrMail(QStringLiteral("^(https?://|mailto:)"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression bareMail(QStringLiteral("^[^@\\s:/]+@[^@\\s:/]+$"));
    QUrl url;
    if (webOrMail.match(text).hasMatch()) {
        url = QUrl(text, QUrl::TolerantMode);
    } else if (bareMail.match(text).hasMatch()) {
        url = QUrl(QStringLiteral("mailto:") + text, QUrl::TolerantMode);
    } else {
        url = QUrl::fromUserInput(text);
    }
    const QString scheme = url.scheme().toLower();
    if (!url.isValid()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https")
            && scheme != QLatin1String("mailto"))) {
        return QUrl();
    }
    if (scheme != QLatin1String("mailto") && url.host().isEmpty()) {
        return QUrl();
    }
    return url;
}

void HyperLink::openInDesktop(const QString& target)
{
    // As with any link, a target the desktop cannot open is simply not opened.
    const QUrl url = linkUrl(target);
    if (url.isValid()) {
        QDesktopServices::openUrl(url);
    }
}

void HyperLink::paint()
{
    QPainter painter(m_control);
    painter.setFont(m_linkFont);
    painter.setPen(QColor::fromRgb(m_hover ? HoverColor : LinkColor));
    painter.drawText(m_control->rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     shownText());
}

void HyperLink::leaveHover(bool repaint)
{
    m_hover = false;
    if (m_control != nullptr && QWidget::mouseGrabber() == m_control) {
        m_control->releaseMouse();
    }
    if (repaint && m_control != nullptr) {
        m_control->update();
    }
}

bool HyperLink::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_control || m_control == nullptr) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::Paint:
        paint();
        return true;
    case QEvent::MouseMove: {
        const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
        const bool inside = withinBorder(position, m_control->size());
        if (!m_hover && inside) {
            // Holding the mouse lets the label see the move that leaves it.
            m_control->grabMouse();
            m_hover = true;
            m_control->update();
        } else if (m_hover && !inside) {
            leaveHover(true);
        }
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) {
            return false;
        }
        // A press that was dragged off the label and let go elsewhere is no click.
        if (withinBorder(mouse->position().toPoint(), m_control->size())) {
            const QString destination = m_target.isEmpty()
                ? control()->text().left(MaxLabelLength)
                : m_target;
            if (m_opener) {
                m_opener(destination);
            }
        }
        return true;
    }
    case QEvent::Hide:
        leaveHover(false);
        return false;
    case QEvent::ActivationChange:
        if (!m_control->isActiveWindow()) {
            leaveHover(false);
        }
        return false;
    default:
        return false;
    }
}
