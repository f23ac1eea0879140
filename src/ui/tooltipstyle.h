#pragma once

#include <QProxyStyle>

class QWidget;

/// The timing of our picture buttons' tool tips over any platform style: a tip shows 100 ms
/// after the mouse comes to rest on a button, stays a second, and while one shows (or has
/// just gone) the next button's tip follows at once.
class ToolTipStyle : public QProxyStyle {
    Q_OBJECT

public:
    static constexpr int kWakeUpDelayMs = 100;
    static constexpr int kShowMs = 10 * kWakeUpDelayMs;

    ToolTipStyle();

    /// Gives BUTTON the tip TEXT, shown exactly as typed (markup and ampersands too), with
    /// this style's timing, also while BUTTON's window is not the active one. The style must
    /// outlive the button: make it a child of the button's window.
    void give(QWidget& button, const QString& text);

    /// How a tip text is handed to the tip so that it reads exactly as typed.
    static QString displayText(const QString& text);

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};
