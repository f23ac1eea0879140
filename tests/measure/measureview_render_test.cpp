#include "measureviewfixture.h"

#include <QDir>
#include <QFile>

#include <functional>

namespace {

using PixelTest = std::function<bool(QRgb)>;

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}

bool isBluish(QRgb pixel)
{
    return qBlue(pixel) > 128 && qRed(pixel) < 100 && qGreen(pixel) < 100;
}

bool isGreenish(QRgb pixel)
{
    return qGreen(pixel) > 128 && qRed(pixel) < 100 && qBlue(pixel) < 100;
}

int countPixels(const QImage& image, const QRect& area, const PixelTest& test)
{
    int count = 0;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            count += test(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

QRect boundingBox(const QImage& image, const QRect& area, const PixelTest& test)
{
    QRect box;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (test(image.pixel(x, y))) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class MeasureRenderTest : public MeasureViewTest {
protected:
    QImage saved(const QString& name)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(view->renderToFile(path));
        return QImage(path).convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(MeasureRenderTest, FittedLineOfALargePictureIsSavedAtDoubledCoordinatesWithLabelsAtTheirSize)
{
    open(picture("large.bmp", 1280, 1024));
    ASSERT_EQ(view->canvasSize(), QSize(640, 512));
    measureWith(ToolCode::Line);
    view->setPen(0, 1, QColor(255, 0, 0));
    view->setLabelColor(QColor(0, 0, 255));
    click(10, 20);
    click(110, 20);
    ASSERT_EQ(shapes().size(), 1u);
    EXPECT_EQ(shapes()[0].labels, labels({"dist:59.260mm"}));

    const QImage image = saved("large-out.bmp");
    ASSERT_EQ(image.size(), QSize(1280, 1024));
    EXPECT_GE(countPixels(image, QRect(20, 40, 201, 1), isRed), 195);
    EXPECT_EQ(countPixels(image, QRect(0, 15, 1280, 11), isRed), 0);

    // The label sits at the doubled midpoint and is as large as on screen.
    const QRect savedLabel = boundingBox(image, image.rect(), isBluish);
    const QRect screenLabel = boundingBox(screen(), QRect(0, 0, 640, 400), isBluish);
    ASSERT_FALSE(savedLabel.isEmpty());
    EXPECT_EQ(savedLabel.size(), screenLabel.size());
    EXPECT_GE(savedLabel.left(), 120);
    EXPECT_LT(savedLabel.left(), 124);
    EXPECT_GE(savedLabel.top(), 40);
    EXPECT_LT(savedLabel.top(), 52);
    EXPECT_EQ(savedLabel.topLeft() - QPoint(120, 40), screenLabel.topLeft() - QPoint(60, 20));
}

TEST_F(MeasureRenderTest, FileTypeFollowsTheLastThreeCharactersOfTheName)
{
    open(picture("plain.bmp", 320, 240));
    EXPECT_TRUE(view->renderToFile(dir.filePath("upper.JPG")));
    const QByteArray jpeg = fileBytes(dir.filePath("upper.JPG"));
    ASSERT_GE(jpeg.size(), 2);
    EXPECT_EQ(uchar(jpeg[0]), 0xFF);
    EXPECT_EQ(uchar(jpeg[1]), 0xD8);
    EXPECT_TRUE(view->renderToFile(dir.filePath("mixed.bMp")));
    EXPECT_EQ(fileBytes(dir.filePath("mixed.bMp")).left(2), QByteArray("BM"));
    for (const char* name : {"long.jpeg", "other.png", "none"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(view->renderToFile(dir.filePath(name)));
        EXPECT_FALSE(QFile::exists(dir.filePath(name)));
    }
    EXPECT_FALSE(view->renderToFile(dir.filePath("no/folder/out.bmp")));
}

TEST_F(MeasureRenderTest, WithoutShapesThePictureIsSavedAloneAtItsOwnSize)
{
    QImage source(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 320; ++x) {
            source.setPixel(x, y, qRgb(x % 256, y, (x + y) % 256));
        }
    }
    const QString path = dir.filePath("pattern.bmp");
    ASSERT_TRUE(source.save(path, "BMP"));
    open(path);
    EXPECT_EQ(saved("copy.bmp"), source);
}

TEST_F(MeasureRenderTest, ScrolledFullSizeViewSavesTheSamePictureAsAnUnscrolledOne)
{
    open(picture("large.bmp", 1280, 1024), DisplayMode::FullSize);
    measureWith(ToolCode::Line);
    click(10, 20);
    click(300, 200);
    view->setTool(ToolCode::RadiusCircle, 1);
    click(200, 200);
    click(230, 240);
    view->setScrollPosition(Qt::Horizontal, 400);
    view->setScrollPosition(Qt::Vertical, 300);
    ASSERT_EQ(view->scrollOffset(), QPoint(400, 300));
    view->setTool(ToolCode::Rectangle, 1);
    click(50, 50);
    click(150, 120);
    ASSERT_EQ(shapes().size(), 3u);
    EXPECT_EQ(shapes()[2].points[0], (MeasurePoint{450, 350}));

    ASSERT_TRUE(view->renderToFile(dir.filePath("scrolled.bmp")));
    view->setScrollPosition(Qt::Horizontal, 0);
    view->setScrollPosition(Qt::Vertical, 0);
    ASSERT_EQ(view->scrollOffset(), QPoint(0, 0));
    ASSERT_TRUE(view->renderToFile(dir.filePath("unscrolled.bmp")));
    EXPECT_EQ(fileBytes(dir.filePath("scrolled.bmp")), fileBytes(dir.filePath("unscrolled.bmp")));
}

TEST_F(MeasureRenderTest, PolygonEdgeEndingAtTheLeftColumnIsNotDrawn)
{
    open(picture("square.bmp", 200, 200), DisplayMode::FullSize);
    measureWith(ToolCode::Polygon);
    view->setPen(0, 1, QColor(255, 0, 0));
    view->setLabelColor(QColor(0, 0, 255));
    click(20, 20);
    click(0, 60);
    doubleClick(60, 60);
    ASSERT_EQ(shapes().size(), 1u);
    ASSERT_EQ(shapes()[0].points, points({{20, 20}, {0, 60}, {60, 60}}));

    for (const QImage& image : {screen(), saved("polygon.bmp")}) {
        EXPECT_EQ(countPixels(image, QRect(8, 38, 5, 5), isRed), 0);   // (20,20) to (0,60)
        EXPECT_GT(countPixels(image, QRect(28, 58, 5, 5), isRed), 0);  // (0,60) to (60,60)
        EXPECT_GT(countPixels(image, QRect(38, 38, 5, 5), isRed), 0);  // closing (60,60) to (20,20)
    }
}

TEST_F(MeasureRenderTest, LabelColorStaysWithTheShapeItWasFinishedWith)
{
    open(picture("dark.bmp", 640, 480, QColor(40, 40, 40)));
    measureWith(ToolCode::DiameterCircle);
    view->setLabelColor(QColor(0, 0, 255));
    click(100, 100);
    click(200, 100);
    view->setLabelColor(QColor(0, 255, 0));
    click(300, 300);
    click(400, 300);
    ASSERT_EQ(shapes().size(), 2u);
    EXPECT_EQ(shapes()[0].labelColor, 0xFF0000FFu);

    const QRect firstLabels(150, 100, 140, 30);
    const QRect secondLabels(350, 300, 140, 30);
    for (const QImage& image : {screen(), saved("labels.bmp")}) {
        EXPECT_GT(countPixels(image, firstLabels, isBluish), 20);
        EXPECT_EQ(countPixels(image, firstLabels, isGreenish), 0);
        EXPECT_GT(countPixels(image, secondLabels, isGreenish), 20);
        EXPECT_EQ(countPixels(image, secondLabels, isBluish), 0);
    }
}

TEST_F(MeasureRenderTest, OnlyOnePixelWidePensShowTheirDashes)
{
    open(picture("plain.bmp", 640, 480, QColor(0, 0, 0)), DisplayMode::FullSize);
    view->setTool(ToolCode::Line, 0);
    view->setPen(1, 1, QColor(255, 0, 0));
    click(100, 100);
    click(400, 100);
    view->setPen(1, 3, QColor(255, 0, 0));
    click(100, 200);
    click(400, 200);
    const QImage image = saved("pens.bmp");
    const int dashed = countPixels(image, QRect(110, 100, 280, 1), isRed);
    EXPECT_GT(dashed, 100);
    EXPECT_LT(dashed, 260);
    EXPECT_EQ(countPixels(image, QRect(110, 200, 280, 1), isRed), 280);
    EXPECT_EQ(countPixels(image, QRect(110, 202, 280, 1), isRed), 0);
}

TEST_F(MeasureRenderTest, CaptionIsShownAtTheBottomLeftButNeverSaved)
{
    const auto isWhitish = [](QRgb pixel) { return qRed(pixel) > 160 && qGreen(pixel) > 160 && qBlue(pixel) > 160; };
    open(picture("Still_2009-03-05_101530_200.0X_N0012.bmp", 640, 480, QColor(0, 0, 0)));
    EXPECT_EQ(view->caption(), "2009-03-05_101530_200.0X_N0012");
    const QImage shown = screen();
    EXPECT_GT(countPixels(shown, QRect(0, 480 - 14, 320, 14), isWhitish), 50);
    EXPECT_EQ(countPixels(shown, QRect(0, 0, 640, 480 - 16), isWhitish), 0);
    EXPECT_EQ(countPixels(saved("nocaption.bmp"), QRect(0, 0, 640, 480), isWhitish), 0);
}

TEST_F(MeasureRenderTest, OutlineFollowsThePointerAndLeavesNothingBehind)
{
    open(picture("grey.bmp", 640, 480, QColor(100, 100, 100)));
    const QImage before = screen();
    measureWith(ToolCode::Line);
    click(100, 100);
    move(300, 100);
    QImage during = screen();
    EXPECT_NE(during.pixel(200, 100), before.pixel(200, 100));
    move(300, 200);
    during = screen();
    EXPECT_EQ(during.pixel(200, 100), before.pixel(200, 100));
    EXPECT_NE(during.pixel(200, 150), before.pixel(200, 150));
    rightClick(300, 200);
    EXPECT_EQ(screen(), before);

    // The placed segments of a polygon stay until it is closed or dropped.
    view->setTool(ToolCode::Polygon, 1);
    click(100, 300);
    click(200, 300);
    move(250, 400);
    during = screen();
    EXPECT_NE(during.pixel(150, 300), before.pixel(150, 300));
    rightClick(250, 400);
    EXPECT_EQ(screen(), before);
}

class MeasureLoadTest : public MeasureViewTest {};

TEST_F(MeasureLoadTest, UnreadablePicturesAreReportedAndLeaveAnEmptyView)
{
    const QByteArray good = fileBytes(picture("good.bmp", 64, 48));
    QByteArray huge = good;
    huge[18] = char(30000 & 0xFF);
    huge[19] = char(30000 >> 8);
    huge[22] = char(30000 & 0xFF);
    huge[23] = char(30000 >> 8);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.bmp"));
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {{"truncated.bmp", good.left(good.size() - 100)}, {"empty.bmp", {}},
                 {"huge.bmp", huge}, {"folder.bmp", {}}, {"text.jpg", "not a picture"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!QFileInfo(dir.filePath(c.name)).isDir()) {
            QFile file(dir.filePath(c.name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.bytes);
        }
        prompter.shown.clear();
        open(dir.filePath(c.name));
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].text, "Can not Open file");
        EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Warning);
        EXPECT_FALSE(view->hasPicture());
        EXPECT_TRUE(view->canvasSize().isEmpty());
        measureWith(ToolCode::Line);
        click(10, 10);
        click(50, 10);
        EXPECT_TRUE(shapes().empty());
        EXPECT_FALSE(view->renderToFile(dir.filePath("out.bmp")));
        const QImage shown = screen();
        EXPECT_EQ(countPixels(shown, shown.rect(), [](QRgb p) { return p != qRgb(128, 128, 128); }), 0);
    }
}

TEST_F(MeasureLoadTest, OtherExtensionsLoadNothingWithoutAMessage)
{
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    ASSERT_TRUE(image.save(dir.filePath("img.png"), "PNG"));
    open(dir.filePath("img.png"));
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_FALSE(view->hasPicture());
}

TEST_F(MeasureLoadTest, CanvasAndSavingFactorsFollowThePictureAndDisplayMode)
{
    const struct {
        const char* name;
        QSize size;
        DisplayMode mode;
        QSize canvas;
        double factor;
        const char* hundredPixels;
    } cases[] = {
        {"a.bmp", {1280, 1024}, DisplayMode::Fitted, {640, 512}, 2.0, "dist:59.260mm"},
        {"b.BMP", {640, 480}, DisplayMode::Fitted, {640, 480}, 1.0, "dist:29.630mm"},
        {"c.jpg", {320, 240}, DisplayMode::Fitted, {640, 480}, 0.5, "dist:14.815mm"},
        {"d.Bmp", {800, 600}, DisplayMode::Fitted, {640, 480}, 1.25, "dist:37.038mm"},
        {"E.JPG", {1280, 1024}, DisplayMode::FullSize, {1280, 1024}, 1.0, "dist:29.630mm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        open(picture(c.name, c.size.width(), c.size.height()), c.mode);
        ASSERT_TRUE(view->hasPicture());
        EXPECT_EQ(view->canvasSize(), c.canvas);
        EXPECT_EQ(view->savingFactors(), (SavingFactors{c.factor, c.factor}));
        EXPECT_EQ(session.pictureWidth(), c.size.width());
        EXPECT_EQ(session.pictureHeight(), c.size.height());
        measureWith(ToolCode::Line);
        click(10, 30);
        click(110, 30);
        ASSERT_EQ(shapes().size(), 1u);
        EXPECT_EQ(shapes()[0].labels, labels({c.hundredPixels}));
        view.reset();
    }
}

TEST_F(MeasureLoadTest, NameScaleTextComesFromTheStillName)
{
    open(picture("Still_2009-03-05_101530_200.0X_N0012.bmp", 64, 48));
    EXPECT_EQ(session.nameScaleText(), "200.0");
    view.reset();
    open(picture("Still_2009-03-05_101530_N0012.bmp", 64, 48));
    EXPECT_EQ(view->caption(), "2009-03-05_101530_N0012");
    EXPECT_EQ(session.nameScaleText(), "");
}

}  // namespace
