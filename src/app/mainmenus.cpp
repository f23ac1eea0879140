#include "app/mainmenus.h"

#include "app/appresources.h"

#include "texts/localtext.h"
#include "ui/menustyle.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

const QColor kOverlayMenuBackground(226, 226, 229);
const QColor kOverlayMenuSelection(78, 136, 219);
const QColor kMenuBarBackground(239, 239, 239);

QMenu* addTitle(QMenuBar* bar, const LocalText& text, const TextEntry& entry)
{
    return bar->addMenu(text.read(entry));
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
    QMenu* file = addTitle(m_menuBar, text, Text::File);
    addItem(file, bar, MainCommand::Open, text, Text::Open);
    file->addSeparator();
    addItem(file, bar, MainCommand::SaveAs, text, Text::Save);
    addItem(file, bar, MainCommand::SaveAll, text, Text::SaveAll);
    file->addSeparator();
    addItem(file, bar, MainCommand::Delete, text, Text::Delete);
    addItem(file, bar, MainCommand::DeleteAll, text, Text::DeleteAll);
    file->addSeparator();
    addItem(file, bar, MainCommand::EMail, text, Text::EMail);

    QMenu* setting = addTitle(m_menuBar, text, Text::Setting);
    addItem(setting, bar, MainCommand::Resolution640, text, Text::Resolution640);
    addItem(setting, bar, MainCommand::Resolution1280, text, Text::Resolution1280);
    setting->addSeparator();
    addItem(setting, bar, MainCommand::VideoSettings, text, Text::Device);
    addItem(setting, bar, MainCommand::KeptCalibrations, text, Text::KeptCalibrations);
    setting->addSeparator();
    addItem(setting, bar, MainCommand::CrossLine, text, Text::Cross);
    addItem(setting, bar, MainCommand::Scale, text, Text::Scale);
    addItem(setting, bar, MainCommand::Circle, text, Text::Circle);
    addItem(setting, bar, MainCommand::Time, text, Text::Time);
    addItem(setting, bar, MainCommand::ScaleBar, text, Text::ScaleBar);

    QMenu* capture = addTitle(m_menuBar, text, Text::Capture);
    addItem(capture, bar, MainCommand::TakePicture, text, Text::TakePicture);
    addItem(capture, bar, MainCommand::TakeVideo, text, Text::TakeVideo);
    addItem(capture, bar, MainCommand::TimeLapse, text, Text::TakeTimeLapsedPictures);

    QMenu* help = addTitle(m_menuBar, text, Text::Help);
    addItem(help, bar, MainCommand::About, text, Text::ViewMorrowAbout);

    auto& gallery = m_galleryActions;
    addItem(m_galleryMenu, gallery, MainCommand::Open, text, Text::Open);
    addItem(m_galleryMenu, gallery, MainCommand::SaveAs, text, Text::Save);
    addItem(m_galleryMenu, gallery, MainCommand::SaveAll, text, Text::SaveAllGallery);
    addItem(m_galleryMenu, gallery, MainCommand::Delete, text, Text::DeleteGallery);
    addItem(m_galleryMenu, gallery, MainCommand::DeleteAll, text, Text::DeleteAll);
    addItem(m_galleryMenu, gallery, MainCommand::EMail, text, Text::EMail);
}

MainMenus::~MainMenus() = default;

QAction* MainMenus::addItem(QMenu* menu, std::map<MainCommand, QAction*>& actions, MainCommand command,
                            const LocalText& text, const TextEntry& entry)
{
    QAction* action = menu->addAction(text.read(entry));
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
        TextEntry entry;
        const char* icon;
    } items[] = {
        {MainCommand::CrossLine, Text::CrossOverlay, ":/app/menu/cross.png"},
        {MainCommand::Scale, Text::ScaleOverlay, ":/app/menu/scale.png"},
        {MainCommand::Circle, Text::CircleOverlay, ":/app/menu/circle.png"},
        {MainCommand::Time, Text::TimeOverlay, ":/app/menu/time.png"},
        {MainCommand::ScaleBar, Text::ScaleBarOverlay, ":/app/menu/scalebar.png"},
    };
    auto menu = std::make_unique<QMenu>(owner);
    for (const auto& item : items) {
        QAction* action = menu->addAction(QIcon(QString::fromLatin1(item.icon)), text.read(item.entry));
        action->setData(static_cast<int>(item.command));
    }
    MenuStyle::apply(*menu, kOverlayMenuBackground, kOverlayMenuSelection);
    return menu;
}
