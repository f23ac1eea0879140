#pragma once

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

/// Runs OPEN, which pops up a menu, clicks the menu's item reading ITEM (an item it lacks
/// closes it with Esc) and returns the menu's texts, an empty one for a separator. A menu
/// that does not open fails the test.
inline QStringList chooseInMenu(const std::function<void()>& open, const QString& item)
{
    QStringList texts;
    bool opened = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || !menu->isVisible()) {
            return;
        }
        poll.stop();
        opened = true;
        for (const QAction* action : menu->actions()) {
            texts << action->text();
        }
        const int row = item.isEmpty() ? -1 : int(texts.indexOf(item));
        if (row < 0) {
            QTest::keyClick(menu, Qt::Key_Escape);
            return;
        }
        const QPoint centre = menu->actionGeometry(menu->actions().at(row)).center();
        QTest::mouseMove(menu, centre);
        QTest::mouseClick(menu, Qt::LeftButton, {}, centre);
    });
    poll.start(5);
    open();
    EXPECT_TRUE(opened) << "the menu did not open";
    return texts;
}
