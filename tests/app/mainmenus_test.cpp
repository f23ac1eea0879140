// Texts of the main window's menus and About box from the language file, with the English
// defaults (blanks included) for whatever the file lacks; the About box's links.
#include "app/aboutdialog.h"
#include "app/mainmenus.h"

#include "texts/localtext.h"
#include "ui/hyperlink.h"

#include <QFile>
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
    const LanguageFile file("File=Datei\r\nTake Picture=Bild aufnehmen...    F2\r\n"
                            "Delete=L\xF6schen...\r\nSaveAll=Alle speichern\r\n"
                            "Open=Ein sehr langer Men\xFC" "eintrag zum \xD6" "ffnen\r\n");
    QWidget owner;
    const LocalText text = file.text();
    const MainMenus menus(text, &owner);
    EXPECT_EQ(menus.menuBar()->actions().at(0)->text(), "Datei");
    // "Delete " and "Delete" are one entry; "SaveAll" and "SaveALL" too. The long Open text
    // is cut to the 24 bytes of a menu item; the 25 characters of Take Video all stay.
    EXPECT_EQ(items(menus.menuBar()->actions().at(0)->menu()),
              QStringList({QString::fromUtf8("Ein sehr langer Menüeint"), "-", "Save As", "Alle speichern", "-",
                           QString::fromUtf8("Löschen..."), "Delete All", "-", "E-Mail..."}));
    EXPECT_EQ(items(menus.menuBar()->actions().at(2)->menu()),
              QStringList({"Bild aufnehmen...    F2", "Take Video/Stop...  F3/F4", "Take time lapsed images"}));

    const std::unique_ptr<QMenu> overlays = MainMenus::makeOverlayMenu(LanguageFile("Time=Zeit\r\n").text(), nullptr);
    EXPECT_EQ(items(overlays.get()), QStringList({"Cross Line", "Scale", "Circle", "Zeit"}));
    const MainCommand commands[] = {MainCommand::CrossLine, MainCommand::Scale, MainCommand::Circle, MainCommand::Time};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(overlays->actions().at(i)->data().toInt(), static_cast<int>(commands[i]));
        EXPECT_FALSE(overlays->actions().at(i)->icon().isNull()) << i;
    }
}

TEST(AboutDialog, TakesItsTextsFromTheLanguageFileAndItsLinksOpenTheMakersAddresses)
{
    const LanguageFile file("AboutViewMorrow1=\xC0 propos de Quillon\r\nOk=D'accord\r\n");
    const LocalText text = file.text();
    AboutDialog dialog(text);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("À propos de Quillon"));
    EXPECT_EQ(dialog.okButton()->text(), "D'accord");
    QStringList opened;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (HyperLink* link : {dialog.mailLink(), dialog.webLink()}) {
        link->setOpener([&](const QString& target) { opened << target; });
        const QPoint onText(3, link->height() / 2);
        QTest::mouseMove(link, onText);
        QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, onText);
    }
    EXPECT_EQ(opened, QStringList({"mailto:support@quillon.example", "https://quillon.example"}));
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
