#pragma once

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

/// Runs OPEN, which pops up a menu, and clicks the menu's item reading ITEM (an empty or
/// missing ITEM closes it with Esc). Returns the menu's texts, an empty one for a separator,
/// or nothing when no menu opened.
inline std::optional<QStringList> chooseInMenu(const std::function<void()>& open, const QString& item)
{
    auto texts = std::make_shared<std::optional<QStringList>>();
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, texts, item] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || !menu->isVisible()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        texts->emplace();
        const QList<QAction*> actions = menu->actions();
        for (const QAction* action : actions) {
            **texts << action->text();
        }
        const int row = (*texts)->indexOf(item);
        if (item.isEmpty() || row < 0) {
            QTest::keyClick(menu, Qt::Key_Escape);
            return;
        }
        const QPoint centre = menu->actionGeometry(actions.at(row)).center();
        QTest::mouseMove(menu, centre);
        QTest::mouseClick(menu, Qt::LeftButton, {}, centre);
    });
    poll->start(5);
    open();
    if (!*texts) {
        delete poll;
    }
    return *texts;
}
