#include "measure/measurementfiles.h"

#include "measure/measurecsvfile.h"
#include "measure/measuresession.h"
#include "measure/measureview.h"

#include "platform/nativepath.h"

#include <QFile>
#include <QLocale>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>

namespace MeasurementFiles {

namespace {

// Enough for a user who keeps opening a picture whose file is refused; past that the file
// stays where it is rather than one of them being overwritten.
constexpr int kMaxSetAsideNames = 1000;

QString setAside(const QString& file)
{
    for (int number = 1; number <= kMaxSetAsideNames; ++number) {
        const QString target = file + QStringLiteral(".refused")
            + (number == 1 ? QString() : QStringLiteral(".%1").arg(number));
        // Never over an earlier refused file: the system refuses the rename when the name is taken.
        if (::renameat2(AT_FDCWD, NativePath::encode(file).constData(), AT_FDCWD,
                        NativePath::encode(target).constData(), RENAME_NOREPLACE) == 0) {
            return target;
        }
        if (errno != EEXIST) {
            return {};
        }
    }
    return {};
}

}  // namespace

Measurements current(const MeasureView& view, const MeasureSession& session)
{
    Measurements measurements;
    measurements.scales = {view.viewScale(), view.scaleCalibrated(), session.workingScale(),
                           session.calibrationValue(), session.actualDistance()};
    measurements.shapes = session.shapes();
    return measurements;
}

std::optional<QString> saveBeside(const QString& picturePath, const MeasureView& view,
                                  const MeasureSession& session)
{
    const QByteArray json = MeasureFile::write(view.measuredPicture(), current(view, session), view.savingFactors());
    return writeMeasurementsFile(MeasureFile::pathFor(picturePath), json.toStdString());
}

Opened load(const QString& file, MeasureView& view, MeasureSession& session)
{
    Opened opened;
    opened.file = file;
    opened.outcome = Opened::Outcome::Refused;
    QFile input;
    if (!NativePath::openForReading(input, file)) {
        opened.refusal = input.errorString();
        return opened;
    }
    // The size is checked before anything is read: a huge file is refused unread.
    if (input.size() > MeasureFile::kMaxBytes) {
        opened.refusal = QStringLiteral("larger than %1 bytes").arg(MeasureFile::kMaxBytes);
        return opened;
    }
    const QByteArray bytes = input.read(MeasureFile::kMaxBytes + 1);
    MeasureFile::Reading reading = MeasureFile::read(bytes, view.measuredPicture(), view.savingFactors());
    if (!reading.measurements) {
        opened.refusal = reading.refusal;
        return opened;
    }
    const MeasureScales& scales = reading.measurements->scales;
    view.setViewScale(scales.viewScale, scales.viewScaleCalibrated);
    session.setWorkingScale(scales.workingScale);
    session.setCalibrationValue(scales.calibrationValue);
    session.setActualDistance(scales.actualDistance);
    view.restoreShapes(std::move(reading.measurements->shapes));
    opened.scales = scales;
    opened.outcome = Opened::Outcome::Restored;
    return opened;
}

Opened openBeside(const QString& picturePath, MeasureView& view, MeasureSession& session)
{
    const QString file = MeasureFile::pathFor(picturePath);
    if (!view.hasPicture() || !NativePath::exists(file)) {
        Opened none;
        none.file = file;
        return none;
    }
    Opened opened = load(file, view, session);
    if (opened.outcome == Opened::Outcome::Refused) {
        opened.setAside = setAside(file);
    }
    return opened;
}

QString calibratedBoxText(const MeasureScales& scales)
{
    if (!scales.viewScaleCalibrated || !(scales.viewScale > 0.0)) {
        return {};
    }
    // The shortest text that reads back as the same number, with a point whatever the locale.
    return QString::number(scales.viewScale, 'g', QLocale::FloatingPointShortest);
}

}  // namespace MeasurementFiles
