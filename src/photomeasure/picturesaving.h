#pragma once

#include "platform/prompter.h"

#include <QString>

#include <functional>
#include <optional>

class LocalText;
class QWidget;

/// The annotated-picture save of the photo-measure window, apart from the window so the
/// naming rules can be checked on their own.
namespace PictureSaving {

/// The save chooser's filters: BMP first (the default), then JPEG.
QString filters();

/// The name the save chooser proposes: the picture's file name without its extension,
/// followed by SUFFIX.
QString proposedName(const QString& picturePath, const QString& suffix = QStringLiteral(".bmp"));

/// PATH as the save will write it: when the file name has no extension, the extension of the
/// filter the user confirmed with is added (".jpg" for the JPEG filter, else ".bmp").
QString withDefaultExtension(const QString& path, const QString& selectedFilter);

/// Offers the save chooser with REQUEST, adds the extension that WITHEXTENSION gives for the
/// path and the filter the user confirmed with, and asks before replacing an existing file.
/// Nothing when the user cancels either question. The process's current directory is the
/// same afterwards (file choosers may move it).
std::optional<QString> chooseTarget(
    QWidget* parent, Prompter& prompter, const Prompter::FileRequest& request,
    const std::function<QString(const QString& path, const QString& selectedFilter)>& withExtension);

/// Offers the save chooser for PICTUREPATH, asks before replacing an existing file, writes
/// through RENDER and tells the user how it went ("Save successfully!" or "Save fail").
/// The process's current directory is the same afterwards. Returns true when a file was
/// written; false when the user cancelled or the write failed.
bool run(QWidget* parent, Prompter& prompter, const LocalText& text, const QString& picturePath,
         const std::function<bool(const QString& path)>& render);

}  // namespace PictureSaving
