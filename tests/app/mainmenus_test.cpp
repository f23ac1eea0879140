// Texts of the main window's menus and About box from the language file, with the English
// defaults (blanks included) for whatever the file lacks; the About box's links.
#include "app/aboutdialog.h"
#include "app/mainmenus.h"

#include "support/testfiles.h"
#include "texts/localtext.h"
#include "ui/hyperlink.h"

#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QStringList items(const QMenu* menu)
{
    QStringList texts;
    for (QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QString("-") : action->text());
    }
    return texts;
}

TEST(LanguageFileTexts, MenusAndAboutBoxTakeTheFilesTextsAndTheDefaultsOfMissingKeysAndTheLinksOpen)
{
    QTemporaryDir folder;
    const QString path = folder.path() + "/German1252.ini";
    ASSERT_TRUE(TestFiles::writeFile(path, QByteArray("[Morrow]\r\nFile=Datei\r\nDelete=L\xF6schen...\r\n"
                                                      "Take Picture=Bild aufnehmen...    F2\r\n"
                                                      "SaveAll=Alle speichern\r\nTime=Zeit\r\n"
                                                      "Open=Ein sehr langer Men\xFC" "eintrag zum \xD6" "ffnen\r\n"
                                                      "AboutViewMorrow1=\xC0 propos de Quillon\r\nOk=D'accord\r\n")));
    const LocalText text(path.toStdString());
    QWidget owner;
    const MainMenus menus(text, &owner);
    EXPECT_EQ(menus.menuBar()->actions().at(0)->text(), "Datei");
    EXPECT_EQ(items(menus.menuBar()->actions().at(0)->menu()),
              QStringList({QString::fromUtf8("Ein sehr langer Menüeint"), "-", "Save As", "Alle speichern", "-",
                           QString::fromUtf8("Löschen..."), "Delete All", "-", "E-Mail..."}));
    EXPECT_EQ(items(menus.menuBar()->actions().at(2)->menu()),
              QStringList({"Bild aufnehmen...    F2", "Take Video/Stop...  F3/F4", "Take time lapsed images"}));
    const std::unique_ptr<QMenu> overlays = MainMenus::makeOverlayMenu(text, nullptr);
    EXPECT_EQ(items(overlays.get()), QStringList({"Cross Line", "Scale", "Circle", "Zeit", "Scale Bar"}));


    // The About box: the links open the maker's addresses.
    AboutDialog about(text);
    EXPECT_EQ(about.windowTitle(), QString::fromUtf8("À propos de Quillon"));
    EXPECT_EQ(about.okButton()->text(), "D'accord");
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    QStringList opened;
    for (HyperLink* link : {about.mailLink(), about.webLink()}) {
        link->setOpener([&](const QString& target) { opened << target; });
        QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, QPoint(3, link->height() / 2));
    }
    EXPECT_EQ(opened, QStringList({"mailto:support@quillon.example", "https://quillon.example"}));
}

}  // namespace
