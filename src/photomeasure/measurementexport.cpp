#include "photomeasure/measurementexport.h"

#include "measure/measurecsvfile.h"
#include "platform/prompter.h"
#include "texts/localtext.h"

#include <QDir>
#include <QFileInfo>

namespace MeasurementExport {

namespace {
const QString kCsvFilter = QStringLiteral("CSV Files(*.csv)");
}  // namespace

QString proposedName(const QString& picturePath)
{
    QString name = picturePath.mid(picturePath.lastIndexOf('/') + 1);
    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0) {
        name.truncate(dot);
    }
    return name + QStringLiteral(".csv");
}

bool run(QWidget* parent, Prompter& prompter, const LocalText& text, const QString& picturePath,
         const std::string& table)
{
    // File choosers may move the process's current directory; it is put back afterwards.
    struct DirectoryKeeper {
        QString directory = QDir::currentPath();
        ~DirectoryKeeper() { QDir::setCurrent(directory); }
    } keeper;

    Prompter::FileRequest request;
    request.fileName = proposedName(picturePath);
    request.filter = kCsvFilter;
    request.selectedFilter = kCsvFilter;
    const std::optional<Prompter::FileAnswer> answer = prompter.saveFile(parent, request);
    if (!answer) {
        return false;
    }
    QString target = answer->path;
    if (!target.mid(target.lastIndexOf('/') + 1).contains('.')) {
        target += QStringLiteral(".csv");
    }

    // As with the picture save, the chooser leaves overwriting to us.
    if (QFileInfo::exists(target)) {
        const QString question = QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                     .arg(QFileInfo(target).fileName());
        if (prompter.message(parent, question, Prompter::Icon::Warning, Prompter::Buttons::YesNo,
                             QStringLiteral("Confirm Save As"))
            != Prompter::Answer::Yes) {
            return false;
        }
    }

    if (const std::optional<QString> failure = writeMeasurementsFile(target, table)) {
        prompter.message(parent, text.read(Text::ExportFail).arg(QDir::toNativeSeparators(target), *failure),
                         Prompter::Icon::Warning);
        return false;
    }
    return true;
}

}  // namespace MeasurementExport
