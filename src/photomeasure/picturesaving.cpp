#include "photomeasure/picturesaving.h"

#include "platform/prompter.h"
#include "texts/localtext.h"

#include <QDir>
#include <QFileInfo>

namespace PictureSaving {

namespace {
const QString kBmpFilter = QStringLiteral("BMP Files(*.BMP)");
const QString kJpgFilter = QStringLiteral("JPG Files(*.JPG)");
}  // namespace

QString filters()
{
    return kBmpFilter + QStringLiteral(";;") + kJpgFilter;
}

QString proposedName(const QString& picturePath)
{
    QString name = picturePath.mid(picturePath.lastIndexOf('/') + 1);
    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0) {
        name.truncate(dot);
    }
    return name + QStringLiteral(".bmp");
}

QString withDefaultExtension(const QString& path, const QString& selectedFilter)
{
    const QString name = path.mid(path.lastIndexOf('/') + 1);
    if (name.contains('.')) {
        return path;
    }
    return path + (selectedFilter == kJpgFilter ? QStringLiteral(".jpg") : QStringLiteral(".bmp"));
}

bool run(QWidget* parent, Prompter& prompter, const LocalText& text, const QString& picturePath,
         const std::function<bool(const QString& path)>& render)
{
    // File choosers may move the process's current directory; whatever happens here, it is
    // where it was afterwards.
    struct DirectoryKeeper {
        QString directory = QDir::currentPath();
        ~DirectoryKeeper() { QDir::setCurrent(directory); }
    } keeper;

    Prompter::FileRequest request;
    request.fileName = proposedName(picturePath);
    request.filter = filters();
    request.selectedFilter = kBmpFilter;
    const std::optional<Prompter::FileAnswer> answer = prompter.saveFile(parent, request);
    if (!answer) {
        return false;
    }
    const QString target = withDefaultExtension(answer->path, answer->selectedFilter);

    // The chooser leaves overwriting to us; a saved measurement must never silently replace
    // a file, least of all the picture it was made on.
    if (QFileInfo::exists(target)) {
        const QString question = QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                     .arg(QFileInfo(target).fileName());
        if (prompter.message(parent, question, Prompter::Icon::Warning, Prompter::Buttons::YesNo,
                             QStringLiteral("Confirm Save As"))
            != Prompter::Answer::Yes) {
            return false;
        }
    }

    const bool written = render(target);
    const QString message = written ? text.read(Text::SaveSuccessfull)
                                    : text.read(Text::SaveFail);
    prompter.message(parent, message, Prompter::Icon::None, Prompter::Buttons::Ok);
    return written;
}

}  // namespace PictureSaving
