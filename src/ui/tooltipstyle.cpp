#include "ui/tooltipstyle.h"

#include <QTextDocument>
#include <QWidget>

ToolTipStyle::ToolTipStyle() = default;

void ToolTipStyle::give(QWidget& button, const QString& text)
{
    // The tip's wake-up delay is asked of the style of the widget under the mouse.
    button.setStyle(this);
    button.setToolTip(displayText(text));
    button.setToolTipDuration(kShowMs);
    button.window()->setAttribute(Qt::WA_AlwaysShowToolTips);
}

QString ToolTipStyle::displayText(const QString& text)
{
    // A text that looks like markup would be rendered as markup; escape it instead.
    if (Qt::mightBeRichText(text)) {
        return Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap);
    }
    return text;
}

int ToolTipStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const
{
    switch (hint) {
    case SH_ToolTip_WakeUpDelay:
        return kWakeUpDelayMs;
    case SH_ToolTip_FallAsleepDelay:
        // As long as a tip shows, moving on to the next button shows its tip at once.
        return kShowMs;
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}
