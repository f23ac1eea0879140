#include "ui/hyperlink.h"

#include <QDesktopServices>
#include <QEvent>
#include <QRegularExpression>

namespace {

const QColor kLinkColor(0, 0, 255);
const QColor kHoverColor(255, 0, 0);

}  // namespace

HyperLink::HyperLink(const QString& ownText, QWidget* parent)
    : QLabel(parent)
    , m_ownText(ownText)
    , m_opener(&HyperLink::openInDesktop)
{
    setAccessibleName(ownText);
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setOpenExternalLinks(false);
    setCursor(Qt::PointingHandCursor);
    // The target is ours, not the anchor's: an address with markup in it cannot change what opens.
    connect(this, &QLabel::linkActivated, this, [this] {
        if (m_opener) {
            m_opener(target());
        }
    });
    connect(this, &QLabel::linkHovered, this, [this](const QString& link) { setHovered(!link.isEmpty()); });
    showLink();
}

bool HyperLink::setLink(const QString& label, const QString& target)
{
    if (label.size() > kMaxLabelLength || target.size() > kMaxTargetLength) {
        return false;
    }
    m_label = label;
    m_target = target;
    showLink();
    return true;
}

QString HyperLink::shownText() const
{
    return m_label.isEmpty() ? m_ownText.left(kMaxLabelLength) : m_label;
}

QString HyperLink::target() const
{
    return m_target.isEmpty() ? m_ownText.left(kMaxLabelLength) : m_target;
}

void HyperLink::setOpener(Opener opener)
{
    m_opener = std::move(opener);
}

void HyperLink::showLink()
{
    const QColor color = m_hovered ? kHoverColor : kLinkColor;
    setText(QStringLiteral("<a href=\"link\" style=\"color:%1; text-decoration:underline;\">%2</a>")
                .arg(color.name(), shownText().toHtmlEscaped()));
}

void HyperLink::setHovered(bool hovered)
{
    if (hovered != m_hovered) {
        m_hovered = hovered;
        showLink();
    }
}

void HyperLink::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        setHovered(false);
    }
}

void HyperLink::hideEvent(QHideEvent* event)
{
    QLabel::hideEvent(event);
    setHovered(false);
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
