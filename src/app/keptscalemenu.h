#pragma once

#include "photomeasure/calibrationstore.h"

#include <QObject>

class LocalText;
class Prompter;
class QMenu;
class QToolButton;

/// The drop-down beside the main window's scale box: one item per kept calibration, and the
/// list of kept calibrations. The items are made anew each time the button opens the menu,
/// so they always show what the store holds.
class KeptScaleMenu : public QObject {
    Q_OBJECT

public:
    KeptScaleMenu(QToolButton& button, CalibrationStore& store, const LocalText& text, Prompter& prompter);

    QMenu* menu() const { return m_menu; }
    /// Fills the menu from the store; done each time the button shows it.
    void fill();
    /// The list of kept calibrations (modal).
    void showList();

signals:
    void chosen(const KeptCalibration& entry);

private:
    QToolButton& m_button;
    CalibrationStore& m_store;
    const LocalText& m_text;
    Prompter& m_prompter;
    QMenu* m_menu = nullptr;
};
