#include "app/mainmenus.h"

#include "app/appresources.h"

#include "platform/localtext.h"
#include "platform/textkeys.h"
#include "ui/menustyle.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

const QColor kOverlayMenuBackground(226, 226, 229);
const QColor kOverlayMenuSelection(78, 136, 219);
const QColor kMenuBarBackground(239, 239, 239);

QMenu* addTitle(QMenuBar* bar, const LocalText& text, const char* key, const char* englishDefault)
{
    return bar->addMenu(text.read(key, TextBuffer::menu, englishDefault));
}

}  // namespace

MainMenus::MainMenus(const LocalText& text, QWidget* owner)
    : QObject(owner)
    , m_menuBar(new QMenuBar(owner))
    , m_galleryMenu(new QMenu(owner))
{
    QPalette palette = m_menuBar->palette();
    palette.setColor(QPalette::Window, kMenuBarBackground);
    palette.setColor(QPalette::Button, kMenuBarBackground);
    m_menuBar->setPalette(palette);
    m_menuBar->setAutoFillBackground(true);

    auto& bar = m_barActions;
    QMenu* file = addTitle(m_menuBar, text, "File", "File");
    addItem(file, bar, MainCommand::Open, text, "Open", "Open...", TextBuffer::menu);
    file->addSeparator();
    addItem(file, bar, MainCommand::SaveAs, text, "Save", "Save As", TextBuffer::menu);
    addItem(file, bar, MainCommand::SaveAll, text, "SaveAll", "Save All", TextBuffer::menu);
    file->addSeparator();
    addItem(file, bar, MainCommand::Delete, text, "Delete ", "Delete...", TextBuffer::menu);
    addItem(file, bar, MainCommand::DeleteAll, text, "DeleteAll", "Delete All", TextBuffer::menu);
    file->addSeparator();
    addItem(file, bar, MainCommand::EMail, text, "EMail", "E-Mail...", TextBuffer::menu);

    QMenu* setting = addTitle(m_menuBar, text, "Setting", "Setting");
    addItem(setting, bar, MainCommand::Resolution640, text, "640*480", "640 x 480    F11", TextBuffer::menu);
    addItem(setting, bar, MainCommand::Resolution1280, text, "1280*1024", "1280 x 1024  F12", TextBuffer::menu);
    setting->addSeparator();
    addItem(setting, bar, MainCommand::VideoSettings, text, "Device...", "Video Settings", TextBuffer::menu);
    setting->addSeparator();
    addItem(setting, bar, MainCommand::CrossLine, text, "Cross", "Cross Line", TextBuffer::menu);
    addItem(setting, bar, MainCommand::Scale, text, "Scale", "Scale", TextBuffer::menu);
    addItem(setting, bar, MainCommand::Circle, text, "Circle", "Circle", TextBuffer::menu);
    addItem(setting, bar, MainCommand::Time, text, "Time", "Time", TextBuffer::menu);

    QMenu* capture = addTitle(m_menuBar, text, "Capture", "Capture");
    addItem(capture, bar, MainCommand::TakePicture, text, "Take Picture", "Take images...      F2",
            TextBuffer::menu);
    addItem(capture, bar, MainCommand::TakeVideo, text, "Take Video", "Take Video/Stop...  F3/F4",
            TextBuffer::takeVideoMenu);
    addItem(capture, bar, MainCommand::TimeLapse, text, "Take time lapsed Pictures", "Take time lapsed images",
            TextBuffer::menu);

    QMenu* help = addTitle(m_menuBar, text, "Help", "Help");
    addItem(help, bar, MainCommand::About, text, "ViewMorrowAbout", "About Quillon", TextBuffer::menu);

    auto& gallery = m_galleryActions;
    addItem(m_galleryMenu, gallery, MainCommand::Open, text, "Open", "Open...", TextBuffer::menu);
    addItem(m_galleryMenu, gallery, MainCommand::SaveAs, text, "Save", "Save As", TextBuffer::menu);
    addItem(m_galleryMenu, gallery, MainCommand::SaveAll, text, "SaveALL", "Save All", TextBuffer::menu);
    addItem(m_galleryMenu, gallery, MainCommand::Delete, text, "Delete", "Delete...", TextBuffer::menu);
    addItem(m_galleryMenu, gallery, MainCommand::DeleteAll, text, "DeleteAll", "Delete All", TextBuffer::menu);
    addItem(m_galleryMenu, gallery, MainCommand::EMail, text, "EMail", "E-Mail...", TextBuffer::menu);
}

MainMenus::~MainMenus() = default;

QAction* MainMenus::addItem(QMenu* menu, std::map<MainCommand, QAction*>& actions, MainCommand command,
                            const LocalText& text, const char* key, const char* englishDefault, int bufferSize)
{
    QAction* action = menu->addAction(text.read(key, bufferSize, englishDefault));
    connect(action, &QAction::triggered, this, [this, command] { emit commandChosen(command); });
    actions[command] = action;
    return action;
}

QAction* MainMenus::action(MainCommand command) const
{
    const auto found = m_barActions.find(command);
    return found == m_barActions.end() ? nullptr : found->second;
}

QAction* MainMenus::galleryAction(MainCommand command) const
{
    const auto found = m_galleryActions.find(command);
    return found == m_galleryActions.end() ? nullptr : found->second;
}

std::unique_ptr<QMenu> MainMenus::makeOverlayMenu(const LocalText& text, QWidget* owner)
{
    initAppResources();
    const struct {
        MainCommand command;
        const char* key;
        const char* englishDefault;
        const char* icon;
    } items[] = {
        {MainCommand::CrossLine, "Cross", "Cross Line", ":/app/menu/cross.png"},
        {MainCommand::Scale, "Scale", "Scale", ":/app/menu/scale.png"},
        {MainCommand::Circle, "Circle", "Circle", ":/app/menu/circle.png"},
        {MainCommand::Time, "Time", "Time", ":/app/menu/time.png"},
    };
    auto menu = std::make_unique<QMenu>(owner);
    for (const auto& item : items) {
        QAction* action = menu->addAction(QIcon(QString::fromLatin1(item.icon)),
                                          text.read(item.key, TextBuffer::label, item.englishDefault));
        action->setData(static_cast<int>(item.command));
    }
    MenuStyle::apply(*menu, kOverlayMenuBackground, kOverlayMenuSelection);
    return menu;
}
