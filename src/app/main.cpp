#include "app/maincontext.h"
#include "app/mainwindow.h"
#include "capture/nocameraengine.h"
#include "measure/measuresession.h"
#include "media/mediapaths.h"
#include "texts/localtext.h"
#include "platform/prompter.h"
#include "platform/systemlanguage.h"
#include "platform/xdgemailclient.h"
#include "photomeasure/photomeasureopener.h"
#include "photomeasure/photomeasurestate.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::filesystem::path moduleFolder = SystemLanguage::executableFolder();
    if (moduleFolder.empty()) {
        moduleFolder = QCoreApplication::applicationDirPath().toStdString();
    }
    const LocalText text = LocalText::forSystemLanguage(moduleFolder);
    QtPrompter prompter;
    MeasureSession session;
    PhotoMeasureState photoMeasure;

    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() >= 2) {
        // quillon PICTURE: measure one picture, as a double click in the gallery does.
        const QString picture = QFileInfo(arguments.at(1)).absoluteFilePath();
        return runPhotoMeasure(picture, {session, photoMeasure, text, prompter}, nullptr) ? 0 : 1;
    }

    MediaPaths paths = MediaPaths::forCurrentUser();
    NoCameraEngine engine;
    XdgEmailClient mailClient;
    MainWindow window(MainContext{session, photoMeasure, text, prompter, paths, engine, mailClient});
    window.show();
    return app.exec();
}
