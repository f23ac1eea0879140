#pragma once

#include <array>

class LatchBitmapButton;
class LocalText;
class PictureButton;
class QLineEdit;
class QWidget;
class ToolTipTable;

/// The main window's seven picture buttons with their tool tips, and the scale box. Preview
/// and Setting stay hidden: Preview only holds the "live preview runs" state. The controls are
/// children of the window's client area; this object places them.
class MainToolBar {
public:
    /// Characters the user can type into the scale box.
    static constexpr int ScaleBoxLength = 5;

    /// Control ids, in the order of the tool-tip table.
    enum ButtonId { PreviewId = 1001, CameraId, VideoId, ClockId, SettingId, SaveId, EMailId };

    explicit MainToolBar(QWidget& client);
    MainToolBar(const MainToolBar&) = delete;
    MainToolBar& operator=(const MainToolBar&) = delete;

    /// The seven buttons in tool-tip order: Preview, Camera, AVI, Clock, Setting, Save, EMail.
    std::array<PictureButton*, 7> buttons() const;
    void setButtonsEnabled(bool enabled);
    /// Shows (or hides) what the normal layout shows: five buttons and the scale box.
    void setShownInNormalLayout(bool shown);

    /// Reads the seven tip texts and makes the tip for WINDOW's buttons.
    void createToolTips(const LocalText& text, QWidget& window);
    /// Drops every tool and, unless the live view fills the screen, adds them again with the
    /// buttons' present places.
    void registerToolTips(bool fullScreen);

    LatchBitmapButton* preview = nullptr;
    PictureButton* camera = nullptr;
    LatchBitmapButton* video = nullptr;
    PictureButton* clock = nullptr;
    PictureButton* setting = nullptr;
    PictureButton* save = nullptr;
    PictureButton* email = nullptr;
    QLineEdit* scaleBox = nullptr;
    ToolTipTable* toolTips = nullptr;
};
