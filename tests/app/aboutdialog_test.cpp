// The About box: its texts and the two links to the maker.
#include "app/aboutdialog.h"

#include "platform/localtext.h"
#include "ui/hyperlink.h"

#include <QFile>
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
    EXPECT_EQ(dialog.mailLink()->shownText(), "support@quillon.example");
    EXPECT_EQ(dialog.webLink()->shownText(), "https://quillon.example");

    QStringList opened;
    dialog.mailLink()->setOpener([&](const QString& target) { opened << target; });
    dialog.webLink()->setOpener([&](const QString& target) { opened << target; });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (HyperLink* link : {dialog.mailLink(), dialog.webLink()}) {
        const QPoint onText(3, link->height() / 2);
        QTest::mouseMove(link, onText);
        QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, onText);
    }
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
    EXPECT_EQ(dialog.mailLink()->accessibleName(), "Courriel du fabricant");
    EXPECT_EQ(dialog.mailLink()->shownText(), "support@quillon.example");
}

}  // namespace
