// The main window's menus: their texts from the language file, with the English defaults
// (blanks included) for whatever the file lacks, and the live view's owner-drawn menu.
#include "app/mainmenus.h"

#include "texts/localtext.h"
#include "ui/menuxp.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

QStringList titles(const MainMenus& menus)
{
    QStringList texts;
    for (QAction* action : menus.menuBar()->actions()) {
        texts << action->text();
    }
    return texts;
}

QStringList items(const QMenu* menu)
{
    QStringList texts;
    for (QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QString("-") : action->text());
    }
    return texts;
}

QStringList barItems(const MainMenus& menus, int index)
{
    return items(menus.menuBar()->actions().at(index)->menu());
}

TEST(MainMenus, WithoutALanguageFileShowTheEnglishTextsWithTheirBlanks)
{
    QWidget owner;
    const LocalText english;
    const MainMenus menus(english, &owner);
    EXPECT_EQ(titles(menus), QStringList({"File", "Setting", "Capture", "Help"}));
    EXPECT_EQ(barItems(menus, 0),
              QStringList({"Open...", "-", "Save As", "Save All", "-", "Delete...", "Delete All", "-", "E-Mail..."}));
    EXPECT_EQ(barItems(menus, 1), QStringList({"640 x 480    F11", "1280 x 1024  F12", "-", "Video Settings", "-",
                                               "Cross Line", "Scale", "Circle", "Time"}));
    // The Take Video text is 25 characters long and keeps its last one.
    EXPECT_EQ(barItems(menus, 2),
              QStringList({"Take images...      F2", "Take Video/Stop...  F3/F4", "Take time lapsed images"}));
    EXPECT_EQ(barItems(menus, 3), QStringList({"About Quillon"}));
    EXPECT_EQ(items(menus.galleryMenu()),
              QStringList({"Open...", "Save As", "Save All", "Delete...", "Delete All", "E-Mail..."}));
}

class LanguageFile {
public:
    explicit LanguageFile(const QByteArray& entries)
    {
        QFile file(m_folder.path() + "/German1252.ini");
        if (file.open(QIODevice::WriteOnly)) {
            file.write("[Morrow]\r\n" + entries);
        }
    }
    LocalText text() const { return LocalText((m_folder.path() + "/German1252.ini").toStdString()); }

private:
    QTemporaryDir m_folder;
};

TEST(MainMenus, TakeTheLanguageFilesTextsAndTheDefaultsOfMissingKeys)
{
    const LanguageFile file("File=Datei\r\nCapture=Aufnahme\r\nTake Picture=Bild aufnehmen...    F2\r\n"
                            "Delete=L\xF6schen...\r\nSaveAll=Alle speichern\r\n"
                            "Take Video=Video/Stopp...  F3/F4\r\n"
                            "Open=Ein sehr langer Men\xFC" "eintrag zum \xD6" "ffnen\r\n");
    QWidget owner;
    const LocalText text = file.text();
    const MainMenus menus(text, &owner);
    EXPECT_EQ(titles(menus), QStringList({"Datei", "Setting", "Aufnahme", "Help"}));
    // "Delete " and "Delete" are one entry; "SaveAll" and "SaveALL" too. The long Open text
    // is cut to the 24 bytes of a menu item.
    EXPECT_EQ(barItems(menus, 0), QStringList({QString::fromUtf8("Ein sehr langer Menüeint"), "-", "Save As",
                                               "Alle speichern", "-", QString::fromUtf8("Löschen..."),
                                               "Delete All", "-", "E-Mail..."}));
    EXPECT_EQ(barItems(menus, 1).mid(0, 2), QStringList({"640 x 480    F11", "1280 x 1024  F12"}));
    EXPECT_EQ(barItems(menus, 2), QStringList({"Bild aufnehmen...    F2", "Video/Stopp...  F3/F4",
                                               "Take time lapsed images"}));
    EXPECT_EQ(items(menus.galleryMenu()).mid(1, 3),
              QStringList({"Save As", "Alle speichern", QString::fromUtf8("Löschen...")}));
}

TEST(MainMenus, OverlayMenuHasFourItemsWithIconsInItsColors)
{
    const LanguageFile file("Cross=Fadenkreuz\r\nTime=Zeit\r\n");
    const LocalText text = file.text();
    const std::unique_ptr<MenuXP> menu = MainMenus::makeOverlayMenu(text, nullptr);
    ASSERT_EQ(menu->itemCount(), 4);
    const std::pair<MainCommand, QString> expected[] = {
        {MainCommand::CrossLine, "Fadenkreuz"}, {MainCommand::Scale, "Scale"},
        {MainCommand::Circle, "Circle"}, {MainCommand::Time, "Zeit"}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(menu->item(i)->commandId, static_cast<int>(expected[i].first));
        EXPECT_EQ(menu->item(i)->text, expected[i].second);
        EXPECT_FALSE(menu->item(i)->icon.isNull()) << i;
    }
    EXPECT_EQ(menu->backgroundColor(), QColor(226, 226, 229));
    EXPECT_EQ(menu->selectionColor(), QColor(78, 136, 219));
}

}  // namespace
