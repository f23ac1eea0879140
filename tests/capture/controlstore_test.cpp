// Picture controls kept per microscope: the file they live in, and how the engine sets them
// again on the camera they belong to.
#include "capture/captureengine.h"
#include "capture/controlstore.h"
#include "support/fakecamera.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using enum PictureControl;

TEST(ControlStore, SetsEveryDamagedFileAsideUnchangedAndStartsAfresh)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("controls.json");
    const QByteArray good = R"({"version": 1, "devices": [{"key": "A", "controls": {"gamma": 5}}]})";
    const struct {
        const char* name;
        QByteArray content;
        bool readable;
    } cases[] = {
        {"the largest file", good + QByteArray(ControlStore::kLargestFile - good.size(), ' '), true},
        {"a larger file of good settings", good + QByteArray(ControlStore::kLargestFile, ' '), false},
        {"a file cut short", good.left(40), false},
        {"another version", R"({"version": 2, "devices": []})", false},
        {"a fraction", R"({"version":1,"devices":[{"key":"A","controls":{"gamma":1.5}}]})", false},
        {"beyond 32 bits", R"({"version":1,"devices":[{"key":"A","controls":{"gamma":3000000000}}]})", false},
        {"an unknown control", R"({"version":1,"devices":[{"key":"A","controls":{"hue":10}}]})", false},
        {"a mode without its value", R"({"version":1,"devices":[{"key":"A","controls":{"gammaAutomatic":true}}]})", false},
        {"an empty key", R"({"version":1,"devices":[{"key":"","controls":{}}]})", false},
        {"a key twice", R"({"version":1,"devices":[{"key":"A","controls":{}},{"key":"A","controls":{}}]})", false},
    };
    int damaged = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path);
        ASSERT_TRUE(TestFiles::writeFile(path, c.content));
        {
            ControlStore store(path.toStdString());
            EXPECT_EQ(store.controls("A").empty(), !c.readable);
            EXPECT_EQ(store.setAside().empty(), c.readable);
            if (!c.readable) {
                ++damaged;
                EXPECT_EQ(TestFiles::readFile(QString::fromStdString(store.setAside().string())), c.content);
            }
            store.remember("B", WhiteBalance, {4600, true});
            store.remember("", Contrast, {1, false});  // a device nothing names stores nothing
        }  // written on the way out
        const ControlStore again(path.toStdString());
        EXPECT_EQ(again.controls("B"), (StoredControls{{WhiteBalance, {4600, true}}}));
        EXPECT_EQ(again.controls("A").empty(), !c.readable);
    }
    // Every damaged file is still there to look at: none was set aside over another.
    EXPECT_EQ(QDir(folder.path()).entryList({"controls.json.damaged*"}).size(), damaged);
}

TEST(ControlStore, EngineSetsStoredControlsClampedToTheCameraAndOnlyOnTheirOwnMicroscope)
{
    QTemporaryDir folder;
    FakeDevices devices;
    devices.devices = {FakeDevices::device("video0"), FakeDevices::device("video2")};
    devices.prototype.ranges = {{Brightness, {0, 10, 1, 5, false}}, {WhiteBalance, {2800, 6500, 10, 4600, true}}};
    CaptureEngine engine({&devices}, folder.filePath("CapConfig.dat").toStdString());
    ControlStore& store = engine.controlStore();
    store.remember("fake:video0", Brightness, {50, false});  // beyond the camera's range
    store.remember("fake:video0", Gamma, {200, false});      // a control the camera lacks
    store.remember("fake:video0", WhiteBalance, {-7, true});
    store.remember("fake:video2", Brightness, {1, false});

    using Sets = std::vector<std::pair<PictureControl, int>>;
    ASSERT_EQ(engine.bringUp(), CaptureEngine::StartResult::Running);
    EXPECT_EQ(devices.lastCamera->sets, (Sets{{Brightness, 10}, {WhiteBalance, 2800}}));

    // What is set through the engine is kept for the microscope it was set on.
    ASSERT_TRUE(engine.setControl(Brightness, 3, false));
    EXPECT_FALSE(engine.setControl(Gamma, 150, false));
    EXPECT_EQ(store.controls("fake:video0"),
              (StoredControls{{Brightness, {3, false}}, {Gamma, {200, false}}, {WhiteBalance, {-7, true}}}));

    ASSERT_TRUE(engine.switchDevice(1));
    EXPECT_EQ(devices.lastCamera->sets, (Sets{{Brightness, 1}}));
}

}  // namespace
