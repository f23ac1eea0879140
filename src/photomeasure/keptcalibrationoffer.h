#pragma once

#include "photomeasure/calibrationstore.h"

#include <QObject>
#include <QRect>
#include <QString>

#include <optional>

class LocalText;
class Prompter;
class QAction;
class QPushButton;
class QWidget;

/// The photo-measure window's use of kept calibrations, apart from the tool strip: a button
/// that applies the calibration kept for the rate box's magnification and the picture's size
/// (never applied without the click), a button and a context-menu command that keep the
/// calibration just made, and a context-menu command that opens the list of kept ones.
class KeptCalibrationOffer : public QObject {
    Q_OBJECT

public:
    /// Adds the two commands to WINDOW's actions (its context menu) and, once the event loop
    /// runs, tells the user if the store's file could not be used.
    KeptCalibrationOffer(QWidget& window, CalibrationStore& store, const LocalText& text, Prompter& prompter);

    /// Offers the calibration kept for RATETEXT's magnification on a WIDTH x HEIGHT picture;
    /// none while WITHHELD (the window has a calibrated scale already, or no picture).
    void offerFor(const QString& rateText, int width, int height, bool withheld);
    /// A calibration gave VALUE from DISTANCE mm on a WIDTH x HEIGHT picture with RATETEXT in
    /// the rate box: offers keeping it when the rate box holds a magnification.
    void calibrated(const QString& rateText, int width, int height, double value, double distance);

    /// Puts the buttons in the window: in the band below a fitted view (BAND) or, with no
    /// room there, at the top right of the view (VIEW).
    void place(const QRect& band, const QRect& view);

    QPushButton* applyButton() const { return m_apply; }
    QPushButton* keepButton() const { return m_keep; }
    QAction* keepAction() const { return m_keepAction; }
    QAction* listAction() const { return m_listAction; }
    /// The kept calibration the apply button offers.
    const std::optional<KeptCalibration>& offered() const { return m_offered; }

signals:
    /// The user asked to apply ENTRY.
    void applyRequested(const KeptCalibration& entry);

private:
    void keep();
    void showList();
    void refresh();

    QWidget& m_window;
    CalibrationStore& m_store;
    const LocalText& m_text;
    Prompter& m_prompter;
    QPushButton* m_apply = nullptr;
    QPushButton* m_keep = nullptr;
    QAction* m_keepAction = nullptr;
    QAction* m_listAction = nullptr;
    std::optional<KeptCalibration> m_offered;
    std::optional<KeptCalibration> m_toKeep;  // the calibration made in this window, until kept
    struct Asked {
        QString rateText;
        int width = 0;
        int height = 0;
        bool withheld = false;
    } m_asked;
    QRect m_band;
    QRect m_view;
};
