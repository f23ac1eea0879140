// Pictures and clips from memory sticks written on other systems carry names that are not
// UTF-8 (Latin-1 "é" as the single byte E9). Every command must reach the very file.
#include "media/filecommands.h"
#include "media/mailsender.h"
#include "media/mediapaths.h"
#include "media/thumbnailbuffer.h"
#include "media/thumbnailgallery.h"
#include "media/thumbnailloader.h"
#include "measure/measuresession.h"
#include "photomeasure/calibrationstore.h"
#include "photomeasure/photomeasuredialog.h"
#include "photomeasure/photomeasureopener.h"
#include "photomeasure/photomeasurestate.h"
#include "platform/clipdecoder.h"
#include "platform/mailclient.h"
#include "platform/nativepath.h"
#include "support/modalrunner.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "texts/localtext.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {
bool writeBytes(const QByteArray& path, const std::vector<std::uint8_t>& bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    const bool written = fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    return ::close(fd) == 0 && written;
}

QByteArray readBytes(const QByteArray& path)
{
    QFile file;
    return NativePath::openForReading(file, NativePath::decode(path)) ? file.readAll() : QByteArray();
}

class ReadyMailClient final : public MailClient {
public:
    Availability availability() const override { return Availability::Ready; }
    void send(const QString&, QObject*, Done done) override { done(Result::Sent); }
};
}  // namespace

TEST(ForeignNames, LatinOneNamesListOpenSaveDeleteMailAndPlay)
{
    QTemporaryDir documents;
    QTemporaryDir elsewhere;
    MediaPaths paths{documents.path()};
    paths.createFolders();
    const QByteArray pictureBytes = NativePath::encode(paths.pictureFolder()) + "/Pr\xE9paration_\xFF\xFE.bmp";
    const QByteArray clipBytes = NativePath::encode(paths.videoFolder()) + "/Essai_\xE9.avi";
    const QByteArray otherClip = NativePath::encode(paths.videoFolder()) + "/Video_2009-03-05_101530_N0001.avi";
    const std::vector<std::uint8_t> bmp = TestFiles::bmpBytes(64, 48, QColor(200, 120, 40));
    const std::vector<std::uint8_t> avi = TestFiles::aviBytes(32, 24, 3, [](int, int) { return QColor(Qt::red); });
    ASSERT_TRUE(writeBytes(pictureBytes, bmp));
    ASSERT_TRUE(writeBytes(clipBytes, avi));
    ASSERT_TRUE(writeBytes(otherClip, avi));

    // The gallery lists both under their own bytes, and both draw.
    ThumbnailGallery listed(paths);
    listed.buildLists();
    ASSERT_EQ(listed.items(GalleryTab::Picture).size(), 1u);
    ASSERT_EQ(listed.items(GalleryTab::Clip).size(), 2u);
    const QString picture = listed.items(GalleryTab::Picture)[0].path;
    const QString clip = listed.items(GalleryTab::Clip)[0].path;
    EXPECT_EQ(NativePath::encode(picture), pictureBytes);
    EXPECT_EQ(NativePath::encode(clip), clipBytes);
    ThumbnailBuffer buffer;
    EXPECT_EQ(loadPictureThumbnail(picture, buffer), ThumbnailLoad::Loaded);
    EXPECT_EQ(loadClipThumbnail(clip, buffer), ThumbnailLoad::Loaded);

    // The photo-measure window opens it with its picture.
    LocalText english;
    ScriptedPrompter prompter;
    MeasureSession session;
    PhotoMeasureState state;
    QTemporaryDir config;
    CalibrationStore calibrations(CalibrationStore::pathIn(config.path()));
    QString opened;
    whenModal<PhotoMeasureDialog>([&opened](PhotoMeasureDialog& window) {
        opened = window.picturePath();
        window.close();
    });
    prompter.answers = {Prompter::Answer::Yes};  // to "Are you sure to close?"
    EXPECT_TRUE(runPhotoMeasure(picture, {session, state, english, prompter, calibrations}, nullptr));
    EXPECT_EQ(opened, picture);
    EXPECT_EQ(prompter.texts(), QStringList({"Are you sure to close?"})) << "nothing about opening";
    prompter.shown.clear();

    // The player's decoder opens the clip.
    ClipDecoder decoder;
    EXPECT_TRUE(decoder.open(clip)) << decoder.errorText().toStdString();

    // Mail: the JPEG copy of the picture and the copy of the clip have names any mail
    // program can take, and hold the files' contents.
    ReadyMailClient client;
    QTemporaryDir mailParent;
    MailSender mailer(client, english, prompter, mailParent.filePath("mail"));
    const std::optional<MailAttachment> pictureMail = mailer.prepare(picture, nullptr);
    ASSERT_TRUE(pictureMail);
    EXPECT_EQ(QFileInfo(pictureMail->path).fileName(), QStringLiteral("Préparation_ÿþ.jpg"));
    EXPECT_TRUE(QFileInfo(pictureMail->path).size() > 0);
    const std::optional<MailAttachment> clipMail = mailer.prepare(clip, nullptr);
    ASSERT_TRUE(clipMail);
    EXPECT_TRUE(clipMail->copyMade);
    EXPECT_EQ(QFileInfo(clipMail->path).fileName(), QStringLiteral("Essai_é.avi"));
    EXPECT_EQ(TestFiles::readFile(clipMail->path).size(), qsizetype(avi.size()));
    EXPECT_EQ(prompter.texts(), QStringList());

    // Save As moves the picture out of the working folder; Delete removes the clip, only it.
    ThumbnailGallery gallery(paths);
    FileCommands commands(gallery, paths, english, prompter);
    gallery.addStill(picture);
    const QString target = elsewhere.filePath("Preparation.bmp");
    prompter.files.push_back(Prompter::FileAnswer{target, QStringLiteral("Bitmap Files(*.bmp)")});
    commands.saveAs();
    EXPECT_EQ(TestFiles::readFile(target).size(), qsizetype(bmp.size()));
    EXPECT_TRUE(readBytes(pictureBytes).isEmpty()) << "the source stays after Save As";
    gallery.addClip(clip);
    gallery.showTab(GalleryTab::Clip);
    prompter.answers = {Prompter::Answer::Yes};
    commands.deleteSelected();
    EXPECT_TRUE(readBytes(clipBytes).isEmpty()) << "the clip was not deleted";
    EXPECT_EQ(readBytes(otherClip).size(), qsizetype(avi.size()));
    EXPECT_EQ(prompter.texts(), QStringList({"Are you sure to delete?"}));
}
