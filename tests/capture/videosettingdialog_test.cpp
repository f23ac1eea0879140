// The Video Setting dialog over a camera the test drives.
#include "capture/captureengine.h"
#include "capture/videosettingdialog.h"
#include "support/fakecamera.h"
#include "texts/localtext.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class VideoSettingDialogTest : public testing::Test {
protected:
    QTemporaryDir folder;
    FakeDevices devices;
    CaptureEngine engine{{&devices}, folder.filePath("CapConfig.dat").toStdString()};
    LocalText text;
    std::vector<QSize> resolutions;

    void SetUp() override
    {
        devices.devices = {FakeDevices::device("video0"), FakeDevices::device("cam", "vid_046d&pid_0825&mi_00")};
        devices.devices[0].friendlyName = "Microscope A";
        // Brightness 0..10 at 4 (default 5); the camera has no other control.
        devices.prototype.ranges = {{PictureControl::Brightness, {0, 10, 1, 5, false}}};
        devices.prototype.values = {{PictureControl::Brightness, 4}};
        ASSERT_EQ(engine.bringUp(), CaptureEngine::StartResult::Running);
    }
    std::unique_ptr<VideoSettingDialog> openDialog()
    {
        return std::make_unique<VideoSettingDialog>(engine, text, [this](int width, int height) {
            resolutions.emplace_back(width, height);
            engine.setResolution(width, height);
        });
    }
    QStringList items(QComboBox* list)
    {
        QStringList result;
        for (int i = 0; i < list->count(); ++i) {
            result << list->itemText(i);
        }
        return result;
    }
};

TEST_F(VideoSettingDialogTest, ArrowsStepWithinTheRangeAndSendOnlyChanges)
{
    auto dialog = openDialog();
    const VideoSettingDialog::Row& brightness = dialog->row(PictureControl::Brightness);
    EXPECT_EQ(brightness.value->text(), "  4");
    EXPECT_EQ(brightness.label->text(), "Brightness");
    // A control the camera lacks still gets a row with a range around its default.
    const VideoSettingDialog::Row& gamma = dialog->row(PictureControl::Gamma);
    EXPECT_LT(gamma.slider->minimum(), gamma.slider->value());
    EXPECT_GT(gamma.slider->maximum(), gamma.slider->value());

    brightness.slider->setValue(10);
    QTest::mouseClick(brightness.up, Qt::LeftButton);
    QTest::mouseClick(brightness.down, Qt::LeftButton);
    QTest::mouseClick(gamma.up, Qt::LeftButton);
    using Set = std::pair<PictureControl, int>;
    EXPECT_EQ(devices.lastCamera->sets, (std::vector<Set>{{PictureControl::Brightness, 10}, {PictureControl::Brightness, 9}}));
    EXPECT_EQ(brightness.value->text(), "  9");
    EXPECT_EQ(gamma.value->text(), QString::asprintf("%3d", gamma.slider->value()));
}

TEST_F(VideoSettingDialogTest, DefaultRestoresEveryControlAndTheLargestResolution)
{
    engine.setResolution(640, 480);
    auto dialog = openDialog();
    // Before the first frame the list shows the smallest size, whatever was asked for.
    EXPECT_EQ(items(dialog->resolutionList()), QStringList({"320x240", "640*480", "1280*1024"}));
    EXPECT_EQ(dialog->resolutionList()->currentIndex(), 0);
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == "Default") {
            QTest::mouseClick(button, Qt::LeftButton);
        }
    }
    using Set = std::pair<PictureControl, int>;
    EXPECT_EQ(devices.lastCamera->sets, (std::vector<Set>{{PictureControl::Brightness, 5}}));
    EXPECT_EQ(dialog->row(PictureControl::Brightness).value->text(), "  5");
    EXPECT_EQ(resolutions, std::vector<QSize>{QSize(1280, 1024)});
    EXPECT_EQ(dialog->resolutionList()->currentIndex(), 2);

    // OK applies the list's choice; Exit applies nothing.
    dialog->resolutionList()->setCurrentIndex(1);
    dialog->accept();
    EXPECT_EQ(resolutions.back(), QSize(640, 480));
    EXPECT_EQ(engine.resolution(), QSize(640, 480));
    const std::size_t applied = resolutions.size();
    openDialog()->reject();
    EXPECT_EQ(resolutions.size(), applied);
}

TEST_F(VideoSettingDialogTest, ListsOnlyMicroscopesAndOneThatArrivesAfterARescan)
{
    auto dialog = openDialog();
    EXPECT_EQ(items(dialog->deviceList()), QStringList({"Microscope A"}));
    devices.devices.push_back(FakeDevices::device("video2"));
    devices.devices.back().friendlyName = "Microscope B";
    engine.rescan();
    dialog->refresh();
    EXPECT_EQ(items(dialog->deviceList()), QStringList({"Microscope A", "Microscope B"}));
    EXPECT_EQ(dialog->deviceList()->currentIndex(), 0);

    const int made = devices.camerasMade;
    dialog->deviceList()->setCurrentIndex(1);
    EXPECT_EQ(devices.camerasMade, made + 1);
    EXPECT_EQ(engine.devices().currentIndex(), 2);
    EXPECT_EQ(engine.state(), CaptureState::Previewing);
    EXPECT_EQ(dialog->deviceList()->currentIndex(), 1);

    // Without a camera the lists stay empty.
    engine.takeDown();
    dialog->refresh();
    EXPECT_EQ(dialog->deviceList()->count() + dialog->resolutionList()->count(), 0);
}

}  // namespace
