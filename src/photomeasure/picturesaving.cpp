#include "photomeasure/picturesaving.h"

#include "platform/nativepath.h"
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

QString proposedName(const QString& picturePath, const QString& suffix)
{
    // Shown in the chooser's text box, so in display form.
    QString name = NativePath::display(picturePath.mid(picturePath.lastIndexOf('/') + 1));
    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0) {
        name.truncate(dot);
    }
    return name + suffix;
}

QString withDefaultExtension(const QString& path, const QString& selectedFilter)
{
    const QString name = path.mid(path.lastIndexOf('/') + 1);
    if (name.contains('.')) {
        return path;
    }
    return path + (selectedFilter == kJpgFilter ? QStringLiteral(".jpg") : QStringLiteral(".bmp"));
}

std::optional<QString> chooseTarget(
    QWidget* parent, Prompter& prompter, const Prompter::FileRequest& request,
    const std::function<QString(const QString& path, const QString& selectedFilter)>& withExtension)
{
    struct DirectoryKeeper {
        QString directory = QDir::currentPath();
        ~DirectoryKeeper() { QDir::setCurrent(directory); }
    } keeper;

    const std::optional<Prompter::FileAnswer> answer = prompter.saveFile(parent, request);
    if (!answer) {
        return std::nullopt;
    }
    const QString target = withExtension(answer->path, answer->selectedFilter);

    // The chooser leaves overwriting to us; a saved measurement must never silently replace
    // a file, least of all the picture it was made on.
    if (NativePath::exists(target)) {
        const QString question = QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                     .arg(NativePath::display(QFileInfo(target).fileName()));
        if (prompter.message(parent, question, Prompter::Icon::Warning, Prompter::Buttons::YesNo,
                             QStringLiteral("Confirm Save As"))
            != Prompter::Answer::Yes) {
            return std::nullopt;
        }
    }
    return target;
}

bool run(QWidget* parent, Prompter& prompter, const LocalText& text, const QString& picturePath,
         const std::function<bool(const QString& path)>& render)
{
    Prompter::FileRequest request;
    request.fileName = proposedName(picturePath);
    request.filter = filters();
    request.selectedFilter = kBmpFilter;
    const std::optional<QString> target = chooseTarget(parent, prompter, request, withDefaultExtension);
    if (!target) {
        return false;
    }

    const bool written = render(*target);
    const QString message = written ? text.read(Text::SaveSuccessfull)
                                    : text.read(Text::SaveFail);
    prompter.message(parent, message, Prompter::Icon::None, Prompter::Buttons::Ok);
    return written;
}

}  // namespace PictureSaving
