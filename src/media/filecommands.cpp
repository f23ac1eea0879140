#include "media/filecommands.h"

#include "picture/picturefile.h"
#include "media/mediapaths.h"
#include "media/thumbnailgallery.h"
#include "platform/fileoperations.h"
#include "platform/nativepath.h"
#include "texts/localtext.h"
#include "platform/prompter.h"

#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr QLatin1StringView kPictureFilter("Bitmap Files(*.bmp)");
constexpr QLatin1StringView kJpegFilter("JPEG Files(*.jpg)");
constexpr QLatin1StringView kClipFilter("AVI Files(*.avi)");

/// The text after the last "." of PATH (empty without a dot).
QString extensionOf(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : path.mid(dot + 1);
}

bool isOneOf(const QString& text, std::initializer_list<const char*> choices)
{
    for (const char* choice : choices) {
        if (text == QLatin1String(choice)) {
            return true;
        }
    }
    return false;
}

/// The folder part of a chosen path: everything before its last "/".
QString folderOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

}  // namespace

FileCommands::FileCommands(ThumbnailGallery& gallery, const MediaPaths& paths,
                           const LocalText& text, Prompter& prompter, QWidget* dialogParent)
    : m_gallery(gallery),
      m_paths(paths),
      m_text(text),
      m_prompter(prompter),
      m_dialogParent(dialogParent),
      m_lastFolder(paths.documentsFolder())
{
}

QString FileCommands::proposedName(const QString& path)
{
    // Shown in the chooser's text box: bytes that are not UTF-8 read as Latin-1, so the copy
    // gets a name any program can show.
    const QString name = NativePath::display(QFileInfo(path).fileName());
    return name.left(std::max<qsizetype>(0, name.size() - 4));
}

QString FileCommands::proposedNames(const QStringList& files)
{
    QString names;
    for (const QString& file : files.mid(0, 4)) {
        names += file + QLatin1Char(' ');
    }
    return names;
}

QStringList FileCommands::filesWithExtension(const QString& folder, const QString& extension)
{
    QStringList files;
    for (const NativePath::Entry& entry : NativePath::list(folder)) {
        if (entry.isFile && NativePath::hasExtension(entry.name, extension)) {
            files.append(entry.name);
        }
    }
    return files;
}

bool FileCommands::isSameFolder(const QString& folder, const QString& workingFolder)
{
    const QString cleanFolder = QDir::cleanPath(QDir(folder).absolutePath());
    const QString cleanWorking = QDir::cleanPath(QDir(workingFolder).absolutePath());
    if (cleanFolder.compare(cleanWorking, Qt::CaseInsensitive) == 0) {
        return true;
    }
    // The same folder through a link, compared by the system, bytes and all.
    return FileOperations::isSameFile(folder, workingFolder);
}

std::optional<QString> FileCommands::selectionOrWarn()
{
    std::optional<QString> selected = m_gallery.selectedPath();
    if (!selected) {
        warn(m_text.read(Text::SelectFile));
    }
    return selected;
}

void FileCommands::warn(const QString& text, const QString& caption)
{
    m_prompter.message(m_dialogParent, text, Prompter::Icon::Warning, Prompter::Buttons::Ok, caption);
}

bool FileCommands::confirm(const QString& text, const QString& caption)
{
    return m_prompter.message(m_dialogParent, text, Prompter::Icon::Warning,
                              Prompter::Buttons::YesNo, caption)
        == Prompter::Answer::Yes;
}

void FileCommands::showSystemError(const QString& text)
{
    // The system's error texts stand on their own, without an owner window.
    m_prompter.message(nullptr, text, Prompter::Icon::Error, Prompter::Buttons::Ok,
                       QStringLiteral("Capture"));
}

QString FileCommands::workingFolder(GalleryTab tab) const
{
    return tab == GalleryTab::Picture ? m_paths.pictureFolder() : m_paths.videoFolder();
}

void FileCommands::dropFromGallery(const QString& path)
{
    m_gallery.clearSelection(m_gallery.currentTab());
    m_gallery.remove(path);
    m_gallery.updateScrollBar();
    m_gallery.redraw();
}

std::optional<QString> FileCommands::chooseSaveAsPath(const QString& source)
{
    const bool picture = m_gallery.currentTab() == GalleryTab::Picture;
    Prompter::FileRequest request;
    request.title = QStringLiteral("Save As");
    request.directory = m_lastFolder;
    request.fileName = proposedName(source);
    request.filter = picture ? QString(kPictureFilter) + QStringLiteral(";;") + kJpegFilter
                             : QString(kClipFilter);
    request.selectedFilter = picture ? QString(kPictureFilter) : QString(kClipFilter);

    // The chooser itself does not ask before replacing a file; asked here, a No goes back
    // to the chooser as a save dialog does.
    for (;;) {
        const std::optional<Prompter::FileAnswer> answer = m_prompter.saveFile(m_dialogParent, request);
        if (!answer || answer->path.isEmpty()) {
            return std::nullopt;
        }
        QString path = answer->path;
        if (QFileInfo(path).suffix().isEmpty()) {
            // A name typed without an extension takes the one of the chosen type.
            if (!picture) {
                path += QStringLiteral(".avi");
            } else if (answer->selectedFilter == kJpegFilter) {
                path += QStringLiteral(".jpg");
            } else {
                path += QStringLiteral(".bmp");
            }
        }
        m_lastFolder = folderOf(path);
        if (!NativePath::exists(path)
            || confirm(QStringLiteral("%1 already exists.\nDo you want to replace it?")
                           .arg(NativePath::display(QFileInfo(path).fileName())),
                       QStringLiteral("Confirm Save As"))) {
            return path;
        }
        request.directory = folderOf(path);
        request.fileName = QFileInfo(path).fileName();
        request.selectedFilter = answer->selectedFilter;
    }
}

void FileCommands::saveAs()
{
    const std::optional<QString> source = selectionOrWarn();
    if (!source) {
        return;
    }
    const std::optional<QString> destination = chooseSaveAsPath(*source);
    if (!destination) {
        return;
    }
    // The working folder is where new pictures and clips arrive and are deleted from; a
    // file saved there would be taken for one of them. A destination that is the source
    // itself (through a link) would be deleted after the "copy".
    if (isSameFolder(folderOf(*destination), workingFolder(m_gallery.currentTab()))
        || FileOperations::isSameFile(*source, *destination)) {
        warn(QStringLiteral("Can't save file to temp directory!!"), QStringLiteral("Save file"));
        return;
    }

    if (destination->right(3).compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0) {
        PictureFile picture;
        if (!picture.load(*source, PictureType::Bmp)) {
            warn(QStringLiteral("imageSave Create fail"));
            return;
        }
        if (!picture.save(*destination, PictureType::Jpeg)) {
            warn(QStringLiteral("Conpress fail"));
            return;
        }
    } else if (const std::optional<QString> error = FileOperations::copyReplacing(*source, *destination)) {
        showSystemError(*error);
        return;
    }

    // Only now is the file saved elsewhere; a failed copy keeps its mark.
    if (GalleryItem* item = m_gallery.selectedItem()) {
        item->notSavedElsewhere = false;
    }
    if (const std::optional<QString> error = FileOperations::removeFile(*source)) {
        showSystemError(*error);
        return;
    }
    dropFromGallery(*source);
}

void FileCommands::saveAll()
{
    const std::optional<QString> selected = selectionOrWarn();
    if (!selected) {
        return;
    }
    const QString extension = extensionOf(*selected);
    GalleryTab kind;
    if (isOneOf(extension, {"bmp", "BMP"})) {
        kind = GalleryTab::Picture;
    } else if (isOneOf(extension, {"avi", "AVI"})) {
        kind = GalleryTab::Clip;
    } else {
        return;
    }
    m_gallery.selectAllFromTop();

    const QString source = workingFolder(kind);
    const QStringList files = filesWithExtension(source, kind == GalleryTab::Picture ? "bmp" : "avi");

    Prompter::FileRequest request;
    request.title = QStringLiteral("Save As");
    request.directory = m_lastFolder;
    request.fileName = proposedNames(files);
    request.filter = kind == GalleryTab::Picture ? QStringLiteral("BMP Files(*.BMP)")
                                                 : QStringLiteral("AVI Files(*.AVI)");
    request.selectedFilter = request.filter;
    const std::optional<Prompter::FileAnswer> answer = m_prompter.saveFile(m_dialogParent, request);
    if (!answer || answer->path.isEmpty()) {
        return;
    }
    // Only the folder counts; the name typed in the chooser is not used.
    const QString target = folderOf(answer->path);
    m_lastFolder = target;
    // Save All ends by offering to delete the working folder's files: saved into that very
    // folder, they would be gone.
    if (isSameFolder(target, source)) {
        warn(QStringLiteral("Can't save file to temp directory!!"), QStringLiteral("Save file"));
        return;
    }

    for (const QString& name : files) {
        const QString destination = target + QLatin1Char('/') + name;
        // "Exists" as the file can be opened for reading.
        if (const int existing = NativePath::openDescriptor(destination, O_RDONLY); existing >= 0) {
            ::close(existing);
            const QString question = QStringLiteral("%1\n%2\n%3")
                                         .arg(NativePath::display(name), QStringLiteral("This file already exists"),
                                              QStringLiteral("Replace existing file?"));
            if (!confirm(question, QStringLiteral("Quillon"))) {
                continue;
            }
        }
        // A file that could not be copied must not be offered for deletion with the rest.
        if (const std::optional<QString> error = FileOperations::copyReplacing(source + QLatin1Char('/') + name, destination)) {
            showSystemError(*error);
            return;
        }
    }
    deleteAll();
}

void FileCommands::deleteSelected()
{
    const std::optional<QString> selected = selectionOrWarn();
    if (!selected) {
        return;
    }
    if (!confirm(m_text.read(Text::SureDelete))) {
        return;
    }
    if (const std::optional<QString> error = FileOperations::removeFile(*selected)) {
        showSystemError(*error);
        return;
    }
    dropFromGallery(*selected);
}

void FileCommands::deleteAll()
{
    const std::optional<QString> selected = selectionOrWarn();
    if (!selected) {
        return;
    }
    if (!confirm(m_text.read(Text::SureDeleteAll))) {
        return;
    }
    const QString extension = extensionOf(*selected);
    QString folder;
    if (isOneOf(extension, {"bmp", "BMP", "jpg", "JPG"})) {
        folder = m_paths.pictureFolder();
    } else if (isOneOf(extension, {"avi", "AVI"})) {
        folder = m_paths.videoFolder();
    }
    if (!folder.isEmpty()) {
        for (const NativePath::Entry& entry : NativePath::list(folder)) {
            // Whatever cannot be deleted (a subfolder) stays, without a word.
            FileOperations::removeFile(folder + QLatin1Char('/') + entry.name);
        }
    }
    m_gallery.clearList(m_gallery.currentTab());
    m_gallery.updateScrollBar();
    m_gallery.redraw();
}
