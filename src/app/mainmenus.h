#pragma once

#include <QObject>

#include <map>
#include <memory>

class LocalText;
class QAction;
class QMenu;
class QMenuBar;
class QWidget;
struct TextEntry;

/// Everything the main window's menus can ask for.
enum class MainCommand {
    Open = 1,
    SaveAs,
    SaveAll,
    Delete,
    DeleteAll,
    EMail,
    Resolution640,
    Resolution1280,
    VideoSettings,
    CrossLine,
    Scale,
    Circle,
    Time,
    ScaleBar,
    TakePicture,
    TakeVideo,
    TimeLapse,
    About,
    KeptCalibrations,
};

/// The main window's menu bar and the gallery's pop-up menu, every text read from the
/// language file once, when they are made. Both report a chosen item by commandChosen().
class MainMenus : public QObject {
    Q_OBJECT

public:
    /// The menus are children of OWNER; the window takes the bar over with setMenuBar().
    MainMenus(const LocalText& text, QWidget* owner);
    ~MainMenus() override;

    QMenuBar* menuBar() const { return m_menuBar; }
    QMenu* galleryMenu() const { return m_galleryMenu; }
    /// The menu bar's item for COMMAND (null for none).
    QAction* action(MainCommand command) const;
    /// The gallery menu's item for COMMAND (null for none).
    QAction* galleryAction(MainCommand command) const;

    /// The live view's right-click menu: the five overlays, each with its icon, in our menu
    /// style; an item's data is its MainCommand as an int. Made for one showing.
    static std::unique_ptr<QMenu> makeOverlayMenu(const LocalText& text, QWidget* owner);

signals:
    void commandChosen(MainCommand command);

private:
    QAction* addItem(QMenu* menu, std::map<MainCommand, QAction*>& actions, MainCommand command,
                     const LocalText& text, const TextEntry& entry);

    QMenuBar* m_menuBar = nullptr;
    QMenu* m_galleryMenu = nullptr;
    std::map<MainCommand, QAction*> m_barActions;
    std::map<MainCommand, QAction*> m_galleryActions;
};
