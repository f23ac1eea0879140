#pragma once

#include <QDialog>

class LocalText;
class Prompter;
class QLineEdit;

/// Asks for the real length, in millimetres, of the line just drawn to calibrate with.
/// OK refuses an entry that is not a positive number ("Please enter digital!") and keeps
/// the dialog open; Cancel leaves everything as it was.
class CalibrationDialog : public QDialog {
    Q_OBJECT
public:
    CalibrationDialog(const LocalText& text, Prompter& prompter, QWidget* parent = nullptr);

    /// The millimetres entered; meaningful after the dialog ended with OK.
    double actualDistance() const { return m_actualDistance; }

    void accept() override;

private:
    Prompter& m_prompter;
    QString m_refusal;
    QLineEdit* m_distanceBox = nullptr;
    double m_actualDistance = 0.0;
};
