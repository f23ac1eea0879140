#pragma once

#include "media/galleryitem.h"

#include <QString>
#include <QStringList>

#include <optional>

class LocalText;
class MediaPaths;
class Prompter;
class QWidget;
class ThumbnailGallery;

/// The four commands that move pictures and clips out of the working folders or delete them:
/// Save As, Save All, Delete and Delete All. Each works on the gallery's selected item (or the
/// folder of its kind), asks and reports through the prompter, and keeps the gallery in step
/// with the folders.
class FileCommands {
public:
    /// Message boxes and choosers open over DIALOGPARENT (the main window; may be null).
    FileCommands(ThumbnailGallery& gallery, const MediaPaths& paths, const LocalText& text,
                 Prompter& prompter, QWidget* dialogParent = nullptr);

    /// Copies or converts the selected file to a place the user chooses, then removes it from
    /// the working folder and the gallery.
    void saveAs();
    /// Copies every file of the selected item's kind to a folder the user chooses, asking
    /// before each file it would replace, then offers Delete All.
    void saveAll();
    /// Deletes the selected file after asking.
    void deleteSelected();
    /// Deletes everything in the working folder of the selected item's kind after asking.
    void deleteAll();

    /// The name Save As proposes: the file name without its folder and its last four
    /// characters (the dot and a three-letter extension).
    static QString proposedName(const QString& path);
    /// The file name Save All proposes: the first four names of FILES, each followed by a space.
    static QString proposedNames(const QStringList& files);
    /// The files of FOLDER whose extension is EXTENSION (without regard to case), by name.
    static QStringList filesWithExtension(const QString& folder, const QString& extension);
    /// Whether FOLDER is WORKINGFOLDER, compared without regard to case or through links.
    static bool isSameFolder(const QString& folder, const QString& workingFolder);

private:
    std::optional<QString> selectionOrWarn();
    std::optional<QString> chooseSaveAsPath(const QString& source);
    void showSystemError(const QString& text);
    void warn(const QString& text, const QString& caption = {});
    bool confirm(const QString& text, const QString& caption = {});
    QString workingFolder(GalleryTab tab) const;
    void dropFromGallery(const QString& path);

    ThumbnailGallery& m_gallery;
    const MediaPaths& m_paths;
    const LocalText& m_text;
    Prompter& m_prompter;
    QWidget* m_dialogParent;
    QString m_lastFolder;  ///< where the next chooser opens: the folder chosen last
};
