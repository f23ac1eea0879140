#include "measure/measuresession.h"
#include "platform/localtext.h"
#include "platform/prompter.h"
#include "workspace/photomeasureopener.h"
#include "workspace/workspacestate.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "quillon: the main window is not built yet\n");
        return 1;
    }

    // quillon PICTURE: measure one picture, as a double click in the gallery does.
    MeasureSession session;
    WorkspaceState state;
    const LocalText text =
        LocalText::forSystemLanguage(QCoreApplication::applicationDirPath().toStdString());
    QtPrompter prompter;
    const QString picture = QFileInfo(arguments.at(1)).absoluteFilePath();
    return runPhotoMeasure(picture, {session, state, text, prompter}, nullptr) ? 0 : 1;
}
