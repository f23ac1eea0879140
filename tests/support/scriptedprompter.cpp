#include "support/scriptedprompter.h"

namespace {
template <typename T>
T takeOr(std::deque<T>& queue, T fallback = {})
{
    if (queue.empty()) {
        return fallback;
    }
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}
}  // namespace

QStringList ScriptedPrompter::texts() const
{
    QStringList result;
    for (const Shown& box : shown) {
        result << box.text;
    }
    return result;
}

Prompter::Answer ScriptedPrompter::message(QWidget*, const QString& text, Icon icon,
                                           Buttons buttons, const QString& caption)
{
    shown.push_back({text, icon, buttons, caption});
    return takeOr(answers, buttons == Buttons::YesNo ? Answer::No : Answer::Ok);
}

std::optional<Prompter::FileAnswer> ScriptedPrompter::openFile(QWidget*, const FileRequest& request)
{
    fileRequests.push_back(request);
    return takeOr(files);
}

std::optional<Prompter::FileAnswer> ScriptedPrompter::saveFile(QWidget*, const FileRequest& request)
{
    fileRequests.push_back(request);
    return takeOr(files);
}

std::optional<QString> ScriptedPrompter::chooseFolder(QWidget*, const QString&, const QString&)
{
    return takeOr(folders);
}

std::optional<QColor> ScriptedPrompter::chooseColor(QWidget*, const QColor& initial)
{
    colorRequests.push_back(initial);
    return takeOr(colors);
}

std::optional<QFont> ScriptedPrompter::chooseFont(QWidget*, const QFont&)
{
    return takeOr(fonts);
}

std::optional<Prompter::FontChoice> ScriptedPrompter::chooseFontWithColor(QWidget* parent,
                                                                          const std::optional<QFont>& initialFont,
                                                                          const QColor& initialColor)
{
    fontRequests.push_back(initialFont);
    return Prompter::chooseFontWithColor(parent, initialFont, initialColor);
}
