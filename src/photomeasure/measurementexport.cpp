#include "photomeasure/measurementexport.h"

#include "measure/measurecsvfile.h"
#include "photomeasure/picturesaving.h"
#include "platform/prompter.h"
#include "texts/localtext.h"

#include <QDir>

namespace MeasurementExport {

namespace {
const QString kCsvFilter = QStringLiteral("CSV Files(*.csv)");
}  // namespace

bool run(QWidget* parent, Prompter& prompter, const LocalText& text, const QString& picturePath,
         const std::string& table)
{
    Prompter::FileRequest request;
    request.fileName = PictureSaving::proposedName(picturePath, QStringLiteral(".csv"));
    request.filter = kCsvFilter;
    request.selectedFilter = kCsvFilter;
    const std::optional<QString> target = PictureSaving::chooseTarget(
        parent, prompter, request, [](const QString& path, const QString&) {
            return path.mid(path.lastIndexOf('/') + 1).contains('.') ? path : path + QStringLiteral(".csv");
        });
    if (!target) {
        return false;
    }

    if (const std::optional<QString> failure = writeMeasurementsFile(*target, table)) {
        prompter.message(parent, text.read(Text::ExportFail).arg(QDir::toNativeSeparators(*target), *failure),
                         Prompter::Icon::Warning);
        return false;
    }
    return true;
}

}  // namespace MeasurementExport
