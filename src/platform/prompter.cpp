#include "platform/prompter.h"

std::optional<Prompter::FontChoice> Prompter::chooseFontWithColor(QWidget* parent,
                                                                  const std::optional<QFont>& initialFont,
                                                                  const QColor& initialColor)
{
    const std::optional<QFont> font = chooseFont(parent, initialFont.value_or(QFont()));
    if (!font) {
        return std::nullopt;
    }
    const std::optional<QColor> color = chooseColor(parent, initialColor);
    return FontChoice{*font, color.value_or(initialColor)};
}
