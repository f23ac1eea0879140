// The engine over a camera the test drives: its states, the format it applies and keeps in
// CapConfig.dat, and what happens to every frame.
#include "capture/captureengine.h"
#include "support/fakecamera.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

namespace {

class CaptureEngineTest : public testing::Test {
protected:
    QTemporaryDir folder;
    std::filesystem::path configFile = captureConfigPath(folder.path().toStdString() + "/Quillon");
    FakeDevices devices;
    std::unique_ptr<CaptureEngine> engine;

    void SetUp() override { devices.devices = {FakeDevices::device("video0")}; }
    CaptureEngine::StartResult bringUp()
    {
        engine = std::make_unique<CaptureEngine>(std::vector<VideoDevices*>{&devices}, configFile);
        return engine->bringUp();
    }
    FakeCamera& camera() { return *devices.lastCamera; }
};

TEST_F(CaptureEngineTest, ResolutionChangesKeepThePreviewAsItWasAndAreRememberedForTheNextStart)
{
    const struct {
        const char* name;
        bool previewing;
        QSize size;
        int frameRateClass;
    } cases[] = {
        {"640 x 480 while previewing", true, {640, 480}, 14},
        {"320 x 240 while stopped", false, {320, 240}, 15},
        {"1280 x 1024 while previewing", true, {1280, 1024}, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(bringUp(), CaptureEngine::StartResult::Running);
        if (!c.previewing) {
            engine->stop();
        }
        engine->setResolution(c.size.width(), c.size.height());
        EXPECT_EQ(engine->state(), c.previewing ? CaptureState::Previewing : CaptureState::Ready);
        EXPECT_EQ(camera().streaming(), c.previewing);
        EXPECT_EQ(QSize(camera().current.width, camera().current.height), c.size);
        EXPECT_EQ(engine->frameRateClass(), c.frameRateClass);
        const auto stored = readCaptureConfig(configFile);
        ASSERT_TRUE(stored);
        EXPECT_EQ(QSize(stored->width, stored->height), c.size);
        EXPECT_EQ(stored->imageSize, std::uint32_t(c.size.width() * c.size.height() * 2));
        EXPECT_EQ(stored->bitsPerPixel, 16);

        engine.reset();
        ASSERT_EQ(bringUp(), CaptureEngine::StartResult::Running);
        EXPECT_EQ(engine->resolution(), c.size);
        EXPECT_EQ(QSize(camera().current.width, camera().current.height), c.size);
        // A clip recorded right after the start was stored at the 1280 x 1024 rate.
        EXPECT_EQ(engine->frameRateClass(), c.frameRateClass);
    }
}

TEST_F(CaptureEngineTest, AFormatTheCameraRefusesFallsBackToTheDefaultOrToWhatItStreams)
{
    CaptureFormat nonsense = CaptureFormat::fromDevice({333, 222, 0, 16, 1, 333333});
    const struct {
        const char* name;
        std::string file;  // empty: no file
        std::vector<std::pair<int, int>> sizes;
        QSize streamed;
    } cases[] = {
        {"no file: the default", "", {{640, 480}, {1280, 1024}}, {1280, 1024}},
        {"87 bytes: the default", std::string(87, '\0'), {{640, 480}, {1280, 1024}}, {1280, 1024}},
        {"a size it does not have: the default",
         std::string(reinterpret_cast<const char*>(nonsense.toBytes().data()), 88), {{640, 480}, {1280, 1024}},
         {1280, 1024}},
        // Such a camera used to be given up for good: it never showed a picture.
        {"no default either: what it streams", "", {{640, 480}}, {640, 480}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(configFile);
        if (!c.file.empty()) {
            std::filesystem::create_directories(configFile.parent_path());
            std::ofstream(configFile, std::ios::binary).write(c.file.data(), c.file.size());
        }
        devices.prototype.sizes = c.sizes;
        devices.prototype.current.width = 640;
        devices.prototype.current.height = 480;
        ASSERT_EQ(bringUp(), CaptureEngine::StartResult::Running);
        EXPECT_EQ(QSize(camera().current.width, camera().current.height), c.streamed);
        EXPECT_EQ(engine->resolution(), c.streamed);
        EXPECT_EQ(engine->captureFormat().width, c.streamed.width());
    }
}

TEST_F(CaptureEngineTest, FramesReachTheLivePictureAndTheStillRequestsInTheirOrder)
{
    ASSERT_EQ(bringUp(), CaptureEngine::StartResult::Running);
    engine->livePicture().recreate(QSize(610, 480));
    QSignalSpy stills(engine.get(), &CaptureEngine::stillReady);
    QSignalSpy views(engine.get(), &CaptureEngine::liveViewChanged);

    // A 4 × 2 frame: its top row (stored last) red, its bottom row blue, one green pixel at
    // the top right.
    std::uint8_t bytes[2 * 4 * 3];
    const auto frame = [&](std::uint8_t mark) {
        for (int x = 0; x < 4; ++x) {
            std::uint8_t* bottom = bytes + x * 3;
            std::uint8_t* top = bytes + 12 + x * 3;
            bottom[0] = 255, bottom[1] = 0, bottom[2] = mark;
            top[0] = 0, top[1] = x == 3 ? 255 : 0, top[2] = x == 3 ? 0 : 255;
        }
        camera().frames({bytes, sizeof bytes, 4, 2, 0.0});
    };
    frame(1);
    QImage shown;
    engine->livePicture().read([&](const QImage& image) { shown = image.copy(); });
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(609, 0), QColor(0, 255, 0));
    EXPECT_EQ(shown.pixelColor(456, 239), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(0, 479), QColor(1, 0, 255));
    EXPECT_EQ(views.size(), 1);
    EXPECT_EQ(engine->frameSize(), QSize(4, 2));

    const auto keptMark = [&] { return engine->lastFrame()[2]; };
    // F2: the frame before the request is the still.
    engine->requestStill();
    frame(2);
    EXPECT_EQ(keptMark(), 1);
    ASSERT_EQ(stills.size(), 1);
    EXPECT_FALSE(stills.at(0).at(0).toBool());
    engine->clearStillRequest();
    // The camera's button: the next frame is dropped, the one after it is the still.
    frame(3);
    camera().snapshots();
    frame(4);
    EXPECT_EQ(stills.size(), 1);
    frame(5);
    EXPECT_EQ(keptMark(), 5);
    ASSERT_EQ(stills.size(), 2);
    EXPECT_TRUE(stills.at(1).at(0).toBool());

    // A frame shorter than its size says is not read.
    engine->clearStillRequest();
    camera().frames({bytes, 5, 4, 2, 0.0});
    EXPECT_EQ(views.size(), 5);

    // Full screen makes the picture anew; back from it the picture is black until a frame.
    engine->enterFullScreen(QSize(1024, 768));
    EXPECT_EQ(engine->livePicture().size(), QSize(1024, 768));
    frame(6);
    engine->leaveFullScreen(QSize(610, 480));
    engine->livePicture().read([&](const QImage& image) { shown = image.copy(); });
    EXPECT_EQ(shown.size(), QSize(610, 480));
    EXPECT_EQ(shown.pixelColor(0, 479), QColor(Qt::black));
    // Taken down, frames have nowhere to land until the window paints again.
    engine->takeDown();
    EXPECT_FALSE(engine->livePicture().exists());
}

TEST_F(CaptureEngineTest, StatesStepUpAndDownWithOneSignalEach)
{
    engine = std::make_unique<CaptureEngine>(std::vector<VideoDevices*>{&devices}, configFile);
    QSignalSpy states(engine.get(), &CaptureEngine::stateChanged);
    const auto seen = [&] {
        std::vector<CaptureState> list;
        for (const auto& arguments : states) {
            list.push_back(arguments.at(0).value<CaptureState>());
        }
        states.clear();
        return list;
    };
    ASSERT_EQ(engine->bringUp(), CaptureEngine::StartResult::Running);
    EXPECT_EQ(seen(), (std::vector{CaptureState::Opened, CaptureState::Ready, CaptureState::Previewing}));
    engine->stop();
    engine->start();
    EXPECT_EQ(seen(), (std::vector{CaptureState::Ready, CaptureState::Previewing}));
    camera().lost();
    QCoreApplication::processEvents();
    EXPECT_EQ(seen(), std::vector{CaptureState::Ready});
    EXPECT_FALSE(camera().streaming());
    engine->takeDown();
    EXPECT_EQ(seen(), std::vector{CaptureState::NoCamera});

    devices.prototype.openResult = CameraSource::OpenResult::PermissionDenied;
    EXPECT_EQ(engine->bringUp(), CaptureEngine::StartResult::PermissionDenied);
    devices.devices = {FakeDevices::device("webcam", "vid_046d&pid_0825&mi_00")};
    EXPECT_EQ(engine->bringUp(), CaptureEngine::StartResult::Failed);
    EXPECT_EQ(seen(), std::vector<CaptureState>{});
}

}  // namespace
