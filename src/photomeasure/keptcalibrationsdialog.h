#pragma once

#include <QDialog>

#include <optional>

class CalibrationStore;
class LocalText;
class Prompter;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

/// Lists the kept calibrations (name, magnification, picture size, scale, distance, date)
/// and lets the user rename one in place or delete one. Every change is written at once; one
/// that cannot be written is reported and the list shows what the store still holds.
class KeptCalibrationsDialog : public QDialog {
    Q_OBJECT

public:
    KeptCalibrationsDialog(CalibrationStore& store, const LocalText& text, Prompter& prompter,
                           QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }
    QPushButton* renameButton() const { return m_rename; }
    QPushButton* deleteButton() const { return m_delete; }

    /// Tells the user, once, why the store's file could not be used (none when it could).
    static void tellProblem(CalibrationStore& store, const LocalText& text, Prompter& prompter, QWidget* parent);
    /// Tells the user that a change could not be written, when REASON says so.
    static void tellChangeFailed(const std::optional<QString>& reason, const LocalText& text, Prompter& prompter,
                                 QWidget* parent);

private:
    void fill();
    void renameSelected();
    void deleteSelected();
    void nameEdited(QTableWidgetItem* item);
    void followSelection();

    CalibrationStore& m_store;
    const LocalText& m_text;
    Prompter& m_prompter;
    QTableWidget* m_table = nullptr;
    QPushButton* m_rename = nullptr;
    QPushButton* m_delete = nullptr;
    bool m_filling = false;
};
