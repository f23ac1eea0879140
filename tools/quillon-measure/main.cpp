// quillon-measure [--full-size] [--save OUT] PICTURE < SCRIPT
//
// Opens PICTURE in a measurement view (offscreen unless QT_QPA_PLATFORM says otherwise),
// runs the script's commands on it, prints the shape list and, with --save, renders the
// annotated picture to OUT. Exit status: 0 done; 1 picture not loadable or save failed;
// 2 bad arguments or a script line that cannot be understood.
#include "measurescript.h"
#include "printingprompter.h"

#include "measure/measureview.h"
#include "measure/measuresession.h"
#include "texts/localtext.h"

#include <QApplication>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

constexpr const char* kUsage =
    "usage: quillon-measure [--full-size] [--save OUT] PICTURE < SCRIPT\n"
    "script commands, one a line ('#' starts a comment line):\n"
    "  rate TEXT | scale M | tool CODE FLAG | text STRING\n"
    "  pen STYLE WIDTH COLOR | label-color C | text-color C   (colours 0x00BBGGRR)\n"
    "  click X Y | dclick X Y | move X Y | rclick X Y | scroll X Y\n"
    "  calibrate MM | undo | resume | clear\n";

struct Options {
    bool fullSize = false;
    QString savePath;
    QString picturePath;
};

std::optional<Options> parseArguments(const QStringList& arguments)
{
    Options options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--full-size")) {
            options.fullSize = true;
        } else if (argument == QLatin1String("--save") && i + 1 < arguments.size()) {
            options.savePath = arguments[++i];
        } else if (argument.startsWith(QLatin1String("--")) || !options.picturePath.isEmpty()) {
            return std::nullopt;
        } else {
            options.picturePath = argument;
        }
    }
    if (options.picturePath.isEmpty()) {
        return std::nullopt;
    }
    return options;
}

}  // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    const std::optional<Options> options = parseArguments(QCoreApplication::arguments());
    if (!options) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    MeasureSession session;
    session.setDisplayMode(options->fullSize ? DisplayMode::FullSize : DisplayMode::Fitted);
    PrintingPrompter prompter;
    const LocalText englishText;
    MeasureView view(session, prompter, englishText, options->picturePath, 1.0, kInitialTool);
    if (!view.hasPicture()) {
        if (QFileInfo::exists(options->picturePath)) {
            std::fprintf(stderr, "quillon-measure: %s: not a BMP or JPEG picture that can be read\n",
                         qPrintable(options->picturePath));
        } else {
            std::fprintf(stderr, "quillon-measure: %s: no such file\n", qPrintable(options->picturePath));
        }
        return 1;
    }
    // As the photo-measure window makes it: the client is the canvas in fitted mode, and a
    // 640 x 480 window onto the picture in full-size mode.
    view.resize(options->fullSize ? QSize(640, 480) : view.canvasSize());
    view.show();
    if (options->fullSize) {
        view.updateScrollBars();
    }
    QCoreApplication::processEvents();

    MeasureScript script(session, view, stdout);
    std::string line;
    int lineNumber = 0;
    while (std::getline(std::cin, line)) {
        ++lineNumber;
        if (const std::optional<QString> error = script.run(QString::fromStdString(line))) {
            std::fprintf(stderr, "quillon-measure: script line %d: %s\n", lineNumber,
                         qPrintable(*error));
            return 2;
        }
    }

    std::fputs(MeasureScript::shapeListText(session).c_str(), stdout);
    if (!options->savePath.isEmpty()) {
        const bool saved = view.renderToFile(options->savePath);
        std::puts(saved ? "saved" : "save failed");
        if (!saved) {
            return 1;
        }
    }
    return 0;
}
