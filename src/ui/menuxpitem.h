#pragma once

#include <QIcon>
#include <QString>

#include <cstdint>

/// The record behind one item of a MenuXP: what the menu measures and draws for it.
/// Made by the owner and handed to MenuXP::AppendItem, which then owns it.
struct MenuXPItem {
    /// Marks a record the menu may measure, draw and delete; a record that has lost it is
    /// refused by AppendItem.
    static constexpr std::uint32_t ItemSignature = 0x0505A0A0;

    MenuXPItem() = default;
    MenuXPItem(int commandId, const QString& text, const QIcon& icon = QIcon(),
                int iconSize = 16)
        : commandId(commandId), text(text), icon(icon), iconSize(iconSize)
    {
    }

    std::uint32_t signature = ItemSignature;
    int commandId = 0;      ///< reported to the owner when the item is chosen; 0 for separators
    bool separator = false;
    QString text;
    QIcon icon;             ///< null when the item has none (or its picture failed to load)
    int iconSize = 16;      ///< pixel size of the icon; also sets the row height and margins
};
