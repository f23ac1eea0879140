// quillon-measure [--full-size] [--load FILE] [--save OUT] [--csv TABLE] PICTURE < SCRIPT
// quillon-measure --help | --version
//
// Opens PICTURE in a measurement view (offscreen unless QT_QPA_PLATFORM says otherwise),
// with --load puts the shapes of a measurement file on it, runs the script's commands,
// prints the shape list, with --save renders the annotated picture to OUT and writes the
// measurement file beside PICTURE, and with --csv writes the measurements to TABLE. Exit
// status: 0 done; 1 picture not loadable, measurement file refused, save or table failed;
// 2 bad arguments or a script line that cannot be understood.
#include "measurescript.h"
#include "printingprompter.h"

#include "app/programinfo.h"
#include "measure/measurecsv.h"
#include "measure/measurecsvfile.h"
#include "measure/measurementfiles.h"
#include "measure/measureview.h"
#include "measure/measuresession.h"
#include "platform/nativepath.h"
#include "texts/localtext.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

namespace {

constexpr const char* kUsage =
    "usage: quillon-measure [--full-size] [--load FILE] [--save OUT] [--csv TABLE] PICTURE < SCRIPT\n"
    "Measures on PICTURE (BMP or JPEG) by a script read from standard input, prints the\n"
    "shapes, with --save writes the picture with its shapes to OUT and with --csv writes\n"
    "the measurements to TABLE.\n"
    "\n"
    "  --full-size   a 640 x 480 window onto the picture at its own size (else fitted)\n"
    "  --load FILE   start from the shapes and scales of measurement file FILE (as saved\n"
    "                beside a picture, PICTURE.quillon.json); it must belong to PICTURE\n"
    "  --save OUT    render the picture with its shapes to OUT (.bmp or .jpg) and write\n"
    "                the measurement file PICTURE.quillon.json beside PICTURE\n"
    "  --csv TABLE   write one row a shape (kind, value, unit, scale, points in picture\n"
    "                pixels, readouts) to TABLE as comma-separated values\n"
    "  -h, --help    show this help and exit\n"
    "  --version     show the version and exit\n"
    "\n"
    "script commands, one a line ('#' starts a comment line):\n"
    "  rate TEXT | scale M | tool CODE FLAG | text STRING\n"
    "  pen STYLE WIDTH COLOR | label-color C | text-color C   (colours 0x00BBGGRR)\n"
    "  click X Y | dclick X Y | move X Y | rclick X Y | scroll X Y\n"
    "  calibrate MM | undo | resume | clear\n";

struct Options {
    bool fullSize = false;
    QString loadPath;
    QString savePath;
    QString csvPath;
    QString picturePath;
};

int usageError(const char* message, const char* argument = "")
{
    std::fprintf(stderr, "quillon-measure: %s%s\nTry 'quillon-measure --help'.\n", message, argument);
    return 2;
}

/// Reads the arguments before any window system is touched, so --help and --version work
/// without a display. Returns an exit status when the program should end at once.
std::optional<int> parseArguments(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (argument == "--version") {
            std::printf("quillon-measure %s\n", kProgramVersion);
            return 0;
        }
        if (argument == "--full-size") {
            options.fullSize = true;
        } else if (argument == "--load") {
            if (i + 1 == argc) {
                return usageError("--load needs the measurement file to read");
            }
            options.loadPath = NativePath::decode(argv[++i]);
        } else if (argument == "--save") {
            if (i + 1 == argc) {
                return usageError("--save needs the file to write");
            }
            options.savePath = NativePath::decode(argv[++i]);
        } else if (argument == "--csv") {
            if (i + 1 == argc) {
                return usageError("--csv needs the file to write");
            }
            options.csvPath = NativePath::decode(argv[++i]);
        } else if (argument.size() > 1 && argument[0] == '-') {
            return usageError("unknown option ", argv[i]);
        } else if (!options.picturePath.isEmpty()) {
            return usageError("one picture at a time");
        } else {
            // The argument's own bytes: a name that is not UTF-8 must still name its file.
            options.picturePath = NativePath::decode(argv[i]);
        }
    }
    if (options.picturePath.isEmpty()) {
        return usageError("no picture given");
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (const std::optional<int> status = parseArguments(argc, argv, options)) {
        return *status;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);

    MeasureSession session;
    session.setDisplayMode(options.fullSize ? DisplayMode::FullSize : DisplayMode::Fitted);
    PrintingPrompter prompter;
    const LocalText englishText;
    MeasureView view(session, prompter, englishText, options.picturePath, 1.0, kInitialTool);
    if (!view.hasPicture()) {
        // The name as it was given, bytes and all.
        const QByteArray name = NativePath::encode(options.picturePath);
        if (NativePath::exists(options.picturePath)) {
            std::fprintf(stderr, "quillon-measure: %s: not a BMP or JPEG picture that can be read\n",
                         name.constData());
        } else {
            std::fprintf(stderr, "quillon-measure: %s: no such file\n", name.constData());
        }
        return 1;
    }
    // As the photo-measure window makes it: the client is the canvas in fitted mode, and a
    // 640 x 480 window onto the picture in full-size mode.
    view.resize(options.fullSize ? QSize(640, 480) : view.canvasSize());
    view.show();
    if (options.fullSize) {
        view.updateScrollBars();
    }
    QCoreApplication::processEvents();

    MeasureScript script(session, view, stdout);
    if (!options.loadPath.isEmpty()) {
        const MeasurementFiles::Opened opened = MeasurementFiles::load(options.loadPath, view, session);
        if (opened.outcome != MeasurementFiles::Opened::Outcome::Restored) {
            std::fprintf(stderr, "quillon-measure: %s: refused: %s\n", NativePath::encode(options.loadPath).constData(),
                         qPrintable(opened.refusal));
            return 1;
        }
        // As the window fills its calibrated-scale box.
        script.setCalibratedText(MeasurementFiles::calibratedBoxText(opened.scales));
    }
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
    if (!options.savePath.isEmpty()) {
        const bool saved = view.renderToFile(options.savePath);
        std::puts(saved ? "saved" : "save failed");
        if (!saved) {
            return 1;
        }
        if (const std::optional<QString> failure = MeasurementFiles::saveBeside(options.picturePath, view, session)) {
            std::fprintf(stderr, "quillon-measure: %s: %s\n",
                         NativePath::encode(MeasureFile::pathFor(options.picturePath)).constData(), qPrintable(*failure));
            return 1;
        }
    }
    if (!options.csvPath.isEmpty()) {
        const std::optional<QString> failure =
            writeMeasurementsFile(options.csvPath, measurementsCsv(session.shapes(), view.savingFactors()));
        if (failure) {
            std::fprintf(stderr, "quillon-measure: %s: %s\n", NativePath::encode(options.csvPath).constData(), qPrintable(*failure));
            return 1;
        }
    }
    return 0;
}
