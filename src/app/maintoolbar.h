#pragma once

#include <array>

class LatchBitmapButton;
class LocalText;
class PictureButton;
class QLineEdit;
class QToolButton;
class QWidget;

/// The main window's seven picture buttons with their tool tips, and the scale box. Preview
/// and Setting stay hidden: Preview only shows the "live preview runs" state. The controls are
/// children of the window's client area; this object places them.
class MainToolBar {
public:
    /// Characters the user can type into the scale box.
    static constexpr int kScaleBoxLength = 5;

    /// Control ids.
    enum ButtonId { PreviewId = 1001, CameraId, VideoId, ClockId, SettingId, SaveId, EMailId };

    explicit MainToolBar(QWidget& client);
    MainToolBar(const MainToolBar&) = delete;
    MainToolBar& operator=(const MainToolBar&) = delete;

    /// The seven buttons: Preview, Camera, AVI, Clock, Setting, Save, EMail.
    std::array<PictureButton*, 7> buttons() const;
    void setButtonsEnabled(bool enabled);
    /// Shows (or hides) what the normal layout shows: five buttons and the scale box with its
    /// drop-down.
    void setShownInNormalLayout(bool shown);

    /// Reads the seven tip texts and gives them to the buttons of WINDOW.
    void createToolTips(const LocalText& text, QWidget& window);

    LatchBitmapButton* preview = nullptr;
    PictureButton* camera = nullptr;
    LatchBitmapButton* video = nullptr;
    PictureButton* clock = nullptr;
    PictureButton* setting = nullptr;
    PictureButton* save = nullptr;
    PictureButton* email = nullptr;
    QLineEdit* scaleBox = nullptr;
    /// The kept calibrations, in the room right of the scale box.
    QToolButton* scaleChoice = nullptr;
};
