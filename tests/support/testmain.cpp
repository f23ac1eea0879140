// Shared main of every test program: Qt on the offscreen platform, and a private HOME and
// config folder so no test ever touches the user's documents or settings.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);  // a platform given by the caller stays
    QTemporaryDir home(QDir::tempPath() + "/quillon-test-home-XXXXXX");
    if (!home.isValid()) {
        return 3;
    }
    const QByteArray homePath = home.path().toLocal8Bit();
    ::mkdir((homePath + "/runtime").constData(), 0700);
    setenv("HOME", homePath.constData(), 1);
    setenv("XDG_CONFIG_HOME", (homePath + "/.config").constData(), 1);
    setenv("XDG_CACHE_HOME", (homePath + "/.cache").constData(), 1);
    setenv("XDG_DATA_HOME", (homePath + "/.local/share").constData(), 1);
    setenv("XDG_RUNTIME_DIR", (homePath + "/runtime").constData(), 1);
    setenv("LC_ALL", "C.UTF-8", 1);

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
