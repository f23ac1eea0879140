#pragma once

#include "media/timelapse.h"
#include "platform/clock.h"

#include <QDialog>

#include <functional>

class LocalText;
class Prompter;
class QLineEdit;
class QPushButton;
class QSpinBox;

/// "Capture Setting": takes a number of still pictures at a fixed interval from a chosen
/// local date and time on, shows how many have been asked for and how much disk they need,
/// and closes itself one interval after the last. Cancel, Escape and closing the window stop
/// the schedule and wait for its worker first.
class TimeLapseDialog : public QDialog {
    Q_OBJECT
public:
    /// REQUESTSTILL raises the still request (it runs on the worker thread); IMAGESIZE is
    /// width × height × 3 of the frames being delivered, for the estimate.
    TimeLapseDialog(std::function<void()> requestStill, int imageSize, const LocalText& text,
                    Prompter& prompter, QWidget* parent = nullptr);
    /// The same, reading the local time from CLOCK (which must outlive the dialog).
    TimeLapseDialog(std::function<void()> requestStill, int imageSize, const LocalText& text,
                    Prompter& prompter, const Clock& clock, QWidget* parent = nullptr);
    ~TimeLapseDialog() override;

    void reject() override;

private:
    TimeLapseDialog(std::function<void()> requestStill, int imageSize, const LocalText& text,
                    Prompter& prompter, const Clock* clock, QWidget* parent);
    QSpinBox* addField(const char* name, int minimum, int maximum, int value);
    void startOrStop();
    void refreshEstimate();
    void closeWhenDone();

    SystemClock m_systemClock;
    const Clock& m_clock;
    Prompter& m_prompter;
    QString m_startText;
    QString m_stopText;
    QString m_pastStartText;
    int m_imageSize;
    TimeLapse m_timeLapse;
    QSpinBox* m_year = nullptr;
    QSpinBox* m_month = nullptr;
    QSpinBox* m_day = nullptr;
    QSpinBox* m_hour = nullptr;
    QSpinBox* m_minute = nullptr;
    QSpinBox* m_second = nullptr;
    QSpinBox* m_intervalMinutes = nullptr;
    QSpinBox* m_intervalSeconds = nullptr;
    QSpinBox* m_pictureCount = nullptr;
    QLineEdit* m_completed = nullptr;
    QLineEdit* m_fileSize = nullptr;
    QPushButton* m_startStop = nullptr;
};
