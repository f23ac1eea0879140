// The About box: its texts and the two links to the maker.
#include "app/aboutdialog.h"

#include "texts/localtext.h"
#include "ui/hyperlink.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(AboutDialog, ShowsTheVersionAndLinksToTheMaker)
{
    const LocalText english;
    AboutDialog dialog(english);
    EXPECT_EQ(dialog.windowTitle(), "About Quillon");
    EXPECT_EQ(dialog.versionLabel()->text(), "Version 1.00.0031.01");
    EXPECT_EQ(dialog.okButton()->text(), "OK");
    EXPECT_EQ(dialog.mailLink()->shownText(), "support@quillon.example");
    EXPECT_EQ(dialog.mailLink()->target(), "mailto:support@quillon.example");
    EXPECT_EQ(dialog.webLink()->shownText(), "https://quillon.example");
    EXPECT_EQ(dialog.webLink()->target(), "https://quillon.example");

    QStringList opened;
    dialog.mailLink()->setOpener([&](const QString& target) { opened << target; });
    dialog.webLink()->setOpener([&](const QString& target) { opened << target; });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.mailLink()->control(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QTest::mouseClick(dialog.webLink()->control(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_EQ(opened, QStringList({"mailto:support@quillon.example", "https://quillon.example"}));

    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(AboutDialog, TakesItsTextsFromTheLanguageFileButTheLinksKeepTheirOwn)
{
    QTemporaryDir folder;
    const QString path = folder.path() + "/French1252.ini";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Morrow]\r\nAboutViewMorrow1=\xC0 propos de Quillon\r\nOk=D'accord\r\n"
               "AboutViewMorrow2=Courriel du fabricant\r\n");
    file.close();
    const LocalText french(path.toStdString());
    AboutDialog dialog(french);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("À propos de Quillon"));
    EXPECT_EQ(dialog.okButton()->text(), "D'accord");
    EXPECT_EQ(dialog.mailLink()->control()->text(), "Courriel du fabricant");
    EXPECT_EQ(dialog.mailLink()->shownText(), "support@quillon.example");
}

}  // namespace
