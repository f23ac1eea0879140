#pragma once

#include "platform/camerasource.h"

#include <QDialog>

#include <array>
#include <functional>

class CaptureEngine;
class LocalText;
class QComboBox;
class QGroupBox;
class QPushButton;
class QLabel;
class QLineEdit;
class QSlider;
class QToolButton;

/// The Video Setting dialog: chooses the microscope and the resolution and sets the camera's
/// six picture controls live. Control changes go to the camera as they are made and are kept
/// for that microscope (through the engine); Exit undoes none of them. OK applies the chosen resolution. Moving a slider sets its control by hand;
/// Default puts every control back to automatic where the camera has that.
class VideoSettingDialog : public QDialog {
    Q_OBJECT

public:
    /// One picture-control row.
    struct Row {
        PictureControl control;
        QLabel* label = nullptr;
        QSlider* slider = nullptr;
        QLineEdit* value = nullptr;
        QToolButton* up = nullptr;
        QToolButton* down = nullptr;
    };

    /// SETRESOLUTION applies a resolution the way the main window does (label included).
    VideoSettingDialog(CaptureEngine& engine, const LocalText& text,
                       std::function<void(int, int)> setResolution, QWidget* parent = nullptr);

    /// Reads the devices, the resolution and the camera's controls again.
    void refresh();
    /// Every control to its camera default in automatic mode, and 1280 × 1024.
    void restoreDefaults();

    /// What a row shows for a control the camera lacks.
    static ControlRange fallbackRange(PictureControl control);

    QComboBox* deviceList() const { return m_devices; }
    QComboBox* resolutionList() const { return m_resolutions; }
    const Row& row(PictureControl control) const { return m_rows[static_cast<std::size_t>(control)]; }

    /// OK: the chosen resolution is applied, then the dialog closes.
    void accept() override;

private:
    void buildLayout();
    void applySelectedResolution();
    void deviceChosen(int item);
    void sliderMoved(Row& row, int value);
    void step(Row& row, int delta);
    void localise();

    CaptureEngine& m_engine;
    const LocalText& m_text;
    std::function<void(int, int)> m_setResolution;
    QComboBox* m_devices = nullptr;
    QComboBox* m_resolutions = nullptr;
    std::array<Row, 6> m_rows;
    QGroupBox* m_deviceGroup = nullptr;
    QLabel* m_deviceLabel = nullptr;
    QGroupBox* m_settingGroup = nullptr;
    QLabel* m_normLabel = nullptr;
    QLabel* m_resolutionLabel = nullptr;
    QGroupBox* m_propertyGroup = nullptr;
    QPushButton* m_default = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_exit = nullptr;
};
