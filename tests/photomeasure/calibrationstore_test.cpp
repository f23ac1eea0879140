// The kept calibrations' file: changes that survive a reload, and files we cannot use.
#include "photomeasure/calibrationstore.h"

#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

KeptCalibration entry(const char* name, double magnification, int width, int height, double value)
{
    return {name, magnification, width, height, value, 0.15, QDate(2026, 12, 8)};
}

std::vector<KeptCalibration> reloaded(const QString& path)
{
    CalibrationStore store(path);
    store.load();
    EXPECT_FALSE(store.takeProblem().has_value()) << path.toStdString();
    return store.entries();
}

TEST(CalibrationStore, KeepsOnePerMagnificationAndSizeRenamesAndDeletesAndEachChangeSurvivesAReload)
{
    QTemporaryDir dir;
    // The folder does not exist yet: the first change makes it.
    const QString path = CalibrationStore::pathIn(dir.filePath("config/Quillon"));
    CalibrationStore store(path);
    store.load();
    EXPECT_TRUE(store.entries().empty());
    EXPECT_FALSE(store.takeProblem().has_value());

    const KeptCalibration large = entry("200X, 1280 × 1024", 200, 1280, 1024, 197.46);
    const KeptCalibration small = entry("200X, 640 × 480", 200, 640, 480, 98.2);
    EXPECT_EQ(store.keep(large), std::nullopt);
    EXPECT_EQ(store.keep(small), std::nullopt);
    EXPECT_EQ(store.rename(0, "  Slide A  "), std::nullopt);
    // Kept again at the same magnification and size: the new value under the user's name.
    EXPECT_EQ(store.keep(entry("200X again", 200.0, 1280, 1024, 201.04)), std::nullopt);
    KeptCalibration renamed = entry("Slide A", 200, 1280, 1024, 201.04);
    EXPECT_EQ(reloaded(path), (std::vector{renamed, small}));

    // Refused changes leave store and file as they were.
    EXPECT_TRUE(store.rename(1, "   ").has_value());
    EXPECT_TRUE(store.rename(1, "two\nlines").has_value());
    EXPECT_TRUE(store.rename(2, "past the end").has_value());
    EXPECT_TRUE(store.keep(entry("no size", 100, 0, 480, 50)).has_value());
    EXPECT_TRUE(store.keep(entry("no magnification", 0, 640, 480, 50)).has_value());
    EXPECT_EQ(reloaded(path), (std::vector{renamed, small}));

    // The rate box's "200.0" is the same magnification as "200"; the size must match too.
    EXPECT_EQ(store.find(200.0, 1280, 1024), renamed);
    EXPECT_EQ(store.find(200.0, 1280, 960), std::nullopt);
    EXPECT_EQ(store.find(400, 640, 480), std::nullopt);

    EXPECT_EQ(store.remove(0), std::nullopt);
    EXPECT_EQ(reloaded(path), std::vector{small});
}

TEST(CalibrationStore, UnusableFileGivesNoEntriesAndOneNoteAndIsSetAsideNotOverwritten)
{
    const QByteArray sound = serialiseKeptCalibrations({entry("A", 200, 1280, 1024, 197.5)});
    QByteArray negative = sound;
    negative.replace("197.5", "-197.5");
    QByteArray fractionalWidth = sound;
    fractionalWidth.replace("1280", "1280.5");
    QByteArray newerVersion = sound;
    newerVersion.replace("\"version\": 1", "\"version\": 2");
    QByteArray blankName = sound;
    blankName.replace("\"A\"", "\"  \"");
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"cut short", sound.left(sound.size() / 2)},
        {"not ours", R"({"calibrations": []})"},
        {"a list, not an object", "[1, 2]"},
        {"negative value", negative},
        {"fractional width", fractionalWidth},
        {"newer version", newerVersion},
        {"blank name", blankName},
        {"too large", QByteArray(CalibrationStore::kMaxFileBytes + 1, ' ')},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = CalibrationStore::pathIn(dir.path());
        ASSERT_TRUE(TestFiles::writeFile(path, c.bytes));
        CalibrationStore store(path);
        store.load();
        EXPECT_TRUE(store.entries().empty()) << c.name;
        const std::optional<QString> problem = store.takeProblem();
        ASSERT_TRUE(problem.has_value()) << c.name;
        EXPECT_TRUE(problem->startsWith(path + ": ")) << c.name << " " << problem->toStdString();
        EXPECT_FALSE(store.takeProblem().has_value()) << c.name;

        const KeptCalibration kept = entry("B", 100, 640, 480, 97);
        ASSERT_EQ(store.keep(kept), std::nullopt) << c.name;
        EXPECT_EQ(reloaded(path), std::vector{kept}) << c.name;
        const QStringList aside = QDir(dir.path()).entryList({"calibrations.json.unreadable-*"});
        ASSERT_EQ(aside.size(), 1) << c.name;
        EXPECT_EQ(TestFiles::readFile(dir.filePath(aside[0])), c.bytes) << c.name;
    }
}

}  // namespace
