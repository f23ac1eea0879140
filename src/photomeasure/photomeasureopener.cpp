#include "photomeasure/photomeasureopener.h"

#include "platform/nativepath.h"
#include "platform/prompter.h"
#include "photomeasure/photomeasuredialog.h"

#include <QFile>

bool runPhotoMeasure(const QString& picturePath, PhotoMeasureContext context, QWidget* owner,
                     const std::function<void()>& calibrationChanged)
{
    // A folder opens for reading on Linux, but it is no picture: refused here too.
    QFile file;
    if (!NativePath::openForReading(file, picturePath)) {
        context.prompter.message(owner, QStringLiteral("the picture not open,please check the file exist!"),
                                 Prompter::Icon::Warning, Prompter::Buttons::Ok);
        return false;
    }
    file.close();

    PhotoMeasureDialog window(context, owner);
    window.setPicturePath(picturePath);
    if (calibrationChanged) {
        QObject::connect(&window, &PhotoMeasureDialog::calibrationChanged, &window,
                         [&calibrationChanged] { calibrationChanged(); });
    }
    window.exec();
    return true;
}
