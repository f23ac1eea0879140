#pragma once

#include "ui/menuxp.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>
#include <memory>

/// Runs OPEN, which pops up one of our owner-drawn menus, and clicks the menu's item reading
/// ITEM (an empty or missing ITEM closes it with Esc). Returns the menu's texts, an empty one
/// for a separator, or nothing when no menu opened.
inline std::optional<QStringList> chooseInMenuXP(const std::function<void()>& open, const QString& item)
{
    auto texts = std::make_shared<std::optional<QStringList>>();
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, texts, item] {
        auto* menu = qobject_cast<MenuXP*>(QApplication::activePopupWidget());
        if (menu == nullptr || !menu->isVisible()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        texts->emplace();
        for (int index = 0; index < menu->itemCount(); ++index) {
            **texts << menu->item(index)->text;
        }
        const int row = (*texts)->indexOf(item);
        if (item.isEmpty() || row < 0) {
            QTest::keyClick(menu, Qt::Key_Escape);
            return;
        }
        QTest::mouseMove(menu, menu->itemRect(row).center());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->itemRect(row).center());
    });
    poll->start(5);
    open();
    if (!*texts) {
        delete poll;
    }
    return *texts;
}
