#include "platform/prompter.h"

#include "platform/fontcolordialog.h"
#include "platform/nativepath.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

namespace {
QMessageBox::Icon toQtIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information: return QMessageBox::Information;
    case Prompter::Icon::Warning: return QMessageBox::Warning;
    case Prompter::Icon::Question: return QMessageBox::Question;
    case Prompter::Icon::Error: return QMessageBox::Critical;
    case Prompter::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

/// Where a chooser starts. A folder whose name is not UTF-8 cannot be handed to Qt's dialog
/// (it would turn the bytes into U+FFFD and find nothing there), so it starts in the nearest
/// folder above that can; the proposed name is shown in display form.
QString chooserStart(const Prompter::FileRequest& request)
{
    QString directory = request.directory;
    while (NativePath::hasRawBytes(directory)) {
        directory.truncate(std::max<qsizetype>(0, directory.lastIndexOf(QLatin1Char('/'))));
    }
    if (request.fileName.isEmpty()) {
        return directory;
    }
    const QString name = NativePath::display(request.fileName);
    return directory.isEmpty() ? name : directory + '/' + name;
}
}  // namespace

Prompter::Answer QtPrompter::message(QWidget* parent, const QString& text, Icon icon,
                                     Buttons buttons, const QString& caption)
{
    // Texts that quote a file name must not carry its raw bytes into the box.
    QMessageBox box(toQtIcon(icon), caption.isEmpty() ? QStringLiteral("Quillon") : NativePath::display(caption),
                    NativePath::display(text), QMessageBox::NoButton, parent);
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: break;
    }
    // Closing an OK/Cancel or Yes/No box with Esc or the title bar means "no".
    if (buttons == Buttons::YesNo) {
        return Answer::No;
    }
    return box.clickedButton() == box.button(QMessageBox::Ok) ? Answer::Ok : Answer::Cancel;
}

std::optional<Prompter::FileAnswer> QtPrompter::openFile(QWidget* parent, const FileRequest& request)
{
    QString selected = request.selectedFilter;
    const QString start = chooserStart(request);
    const QString path = QFileDialog::getOpenFileName(parent, request.title, start, request.filter, &selected);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return FileAnswer{path, selected};
}

std::optional<Prompter::FileAnswer> QtPrompter::saveFile(QWidget* parent, const FileRequest& request)
{
    QString selected = request.selectedFilter;
    const QString start = chooserStart(request);
    // Overwriting is asked by the callers where it matters, in their own words.
    const QString path = QFileDialog::getSaveFileName(parent, request.title, start, request.filter,
                                                      &selected, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return FileAnswer{path, selected};
}

std::optional<QString> QtPrompter::chooseFolder(QWidget* parent, const QString& title,
                                                const QString& directory)
{
    const QString path = QFileDialog::getExistingDirectory(parent, title, directory);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

std::optional<QColor> QtPrompter::chooseColor(QWidget* parent, const QColor& initial)
{
    const QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid()) {
        return std::nullopt;
    }
    return color;
}

std::optional<QFont> QtPrompter::chooseFont(QWidget* parent, const QFont& initial)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent);
    if (!ok) {
        return std::nullopt;
    }
    return font;
}

std::optional<Prompter::FontChoice> QtPrompter::chooseFontWithColor(QWidget* parent,
                                                                    const std::optional<QFont>& initialFont,
                                                                    const QColor& initialColor)
{
    FontColorDialog dialog(initialFont, initialColor, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return FontChoice{dialog.selectedFont(), dialog.selectedColor()};
}
