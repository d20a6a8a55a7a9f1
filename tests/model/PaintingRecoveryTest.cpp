#include "Classes/model/PaintingRecovery.h"
#include "ModelTestSupport.h"

#include "Classes/model/RecoveryWriter.h"
#include "Classes/model/StrokeFile.h"
#include "platform/graphics/ImageContext.h"
#include "platform/system/Random.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <future>
#include <mutex>
#include <sys/stat.h>

using platform::Color;
using platform::Image;

namespace {

// A Documents folder of the test's own, with the recovery folder beside it.
struct RecoveryFolders final {
    RecoveryFolders() { qputenv("PINTARO_DOCUMENTS", root.filePath("Documents").toUtf8()); }
    ~RecoveryFolders()
    {
        PaintingRecovery::waitUntilWritten();
        qunsetenv("PINTARO_DOCUMENTS");
    }
    QString recovery() const { return root.filePath("Documents.recovery"); }
    QString file(const QString& name) const { return recovery() + "/" + name; }
    bool exists(const QString& name) const { return QFile::exists(file(name)); }

    QTemporaryDir root;
};

std::shared_ptr<Painting> newPainting(int width, int height, int mode)
{
    return std::shared_ptr<Painting>(makePainting(width, height, mode));
}

// A short stroke of the type, a little different for each `n`.
void strokeNumber(Painting& painting, int type, int n)
{
    platform::srand(static_cast<uint32_t>(n + 1));
    const float x = static_cast<float>(20 + n * 29 % 120);
    const float y = static_cast<float>(20 + n * 41 % 90);
    drawStroke(painting, type, { { x, y }, { x + 40, y + 10 }, { x + 10, y + 50 }, { x + 60, y + 35 } });
}

Image photo(int width, int height, QRgb colour)
{
    QImage pixels(width, height, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(colour);
    for (int y = 0; y < height; y += 7)
        for (int x = 0; x < width; ++x)
            pixels.setPixel(x, y, qRgb(x % 256, y % 256, 90));
    return Image(std::move(pixels));
}

// The painting on a screen: background and every layer, as the editor shows it.
QImage screenOf(const Painting& painting)
{
    platform::ImageContext context({ static_cast<float>(painting.width()), static_cast<float>(painting.height()) }, true, 1);
    painting.drawPaintingTo(context);
    return context.image().qimage();
}

std::unique_ptr<Painting> writtenAndReadBack(const RecoveryFolders& folders, PaintingRecovery& recovery,
    const std::shared_ptr<Painting>& painting)
{
    recovery.paintingChanged(painting);
    EXPECT_TRUE(PaintingRecovery::waitUntilWritten());
    return PaintingRecovery::loadRecoveredPainting(folders.recovery());
}

// Every atomic write puts a new file, with a new inode, under the name.
ino_t inodeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

// Records what the writer reports.
struct Reports final {
    void attach(PaintingRecovery& recovery)
    {
        recovery.setWriteObserver([this](uint64_t generation, bool succeeded) {
            std::lock_guard lock(mutex);
            seen.emplace_back(generation, succeeded);
        });
    }
    std::vector<std::pair<uint64_t, bool>> all()
    {
        std::lock_guard lock(mutex);
        return seen;
    }
    std::mutex mutex;
    std::vector<std::pair<uint64_t, bool>> seen;
};

}

TEST(PaintingRecovery, ReadBackItHoldsEveryFinishedStrokeAndItsCanvasPixelForPixel)
{
    struct Case {
        const char* name;
        int mode;
        std::vector<int> types;
        int layers;
        bool onPhoto;
    };
    const Case cases[] = {
        { "the editor's brushes, mirrored four ways", 4, { 37, 16, 13, 11, 34, 64, 24, 51 }, 1, false },
        { "the eraser over pen and neon, no mirror", 0, { 13, 37, 23, 11, 23 }, 1, false },
        { "eighteen copies on a photo", 9, { 16, 11, 64, 51 }, 1, true },
        { "strokes in two layers", 2, { 13, 37, 11, 24 }, 2, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecoveryFolders folders;
        PaintingRecovery recovery;
        ASSERT_EQ(recovery.folder(), folders.recovery());
        auto painting = newPainting(200, 160, c.mode);
        painting->setBackgroundColor(Color::rgba(0.2f, 0.1f, 0.6f, 1));
        if (c.onPhoto)
            painting->setBackgroundImage(photo(200, 160, qRgb(200, 40, 40)));
        int n = 0;
        for (int type : c.types) {
            // Later layers take the later strokes.
            if (painting->layers() < c.layers && n == static_cast<int>(c.types.size()) / 2)
                painting->addTransparentLayer();
            strokeNumber(*painting, type, n++);
            recovery.paintingChanged(painting);
        }
        ASSERT_TRUE(PaintingRecovery::waitUntilWritten());
        auto restored = PaintingRecovery::loadRecoveredPainting(folders.recovery());
        ASSERT_TRUE(restored);

        EXPECT_EQ(encodeStrokeFile(*restored), encodeStrokeFile(*painting));
        ASSERT_EQ(restored->layerArray().size(), painting->layerArray().size());
        for (size_t i = 0; i < painting->layerArray().size(); ++i) {
            const Layer& live = *painting->layerArray()[i];
            const Layer& back = *restored->layerArray()[i];
            EXPECT_TRUE(onScreen(back) == onScreen(live)) << "layer " << i;
            EXPECT_TRUE(offScreen(back) == onScreen(live)) << "layer " << i;
            EXPECT_EQ(back.indexOfFirstModifiedStroke(), 0) << "layer " << i;
        }
        EXPECT_EQ(screenOf(*restored), screenOf(*painting));
        EXPECT_EQ(restored->backgroundImage().has_value(), c.onPhoto);
        EXPECT_EQ(restored->mirrixMode(), c.mode);
        EXPECT_FALSE(restored->isSaved());
        EXPECT_TRUE(restored->notSaved());
        EXPECT_EQ(restored->unalignedCropRect(), platform::Rect(0, 0, 200, 160));
    }
}

TEST(PaintingRecovery, UndoneStrokesLeaveItEvenWhenTheNextStrokeTakesTheirPlaceInMemory)
{
    struct Case {
        const char* name;
        bool undoReported;
    };
    for (const Case c : { Case { "undo reported", true }, Case { "undo not reported", false } }) {
        SCOPED_TRACE(c.name);
        RecoveryFolders folders;
        PaintingRecovery recovery;
        auto painting = newPainting(200, 160, 0);
        strokeNumber(*painting, 13, 0);
        strokeNumber(*painting, 13, 1);
        recovery.paintingChanged(painting);
        for (int round = 2; round < 6; ++round) {
            ASSERT_TRUE(painting->undoStroke());
            if (c.undoReported)
                recovery.paintingChanged(painting);
            // The same brush and much the same path: only the points differ.
            strokeNumber(*painting, 13, round);
            auto restored = writtenAndReadBack(folders, recovery, painting);
            ASSERT_TRUE(restored);
            EXPECT_EQ(encodeStrokeFile(*restored), encodeStrokeFile(*painting)) << "round " << round;
            EXPECT_TRUE(onScreen(*restored->activeLayer()) == onScreen(*painting->activeLayer())) << "round " << round;
        }
    }
}

TEST(PaintingRecovery, APaintingThatTakesTheOldOnesPlaceIsWrittenWholeWithItsOwnBackground)
{
    RecoveryFolders folders;
    PaintingRecovery recovery;
    auto first = newPainting(200, 160, 4);
    first->setBackgroundImage(photo(200, 160, qRgb(10, 200, 10)));
    strokeNumber(*first, 37, 0);
    strokeNumber(*first, 13, 1);
    ASSERT_TRUE(writtenAndReadBack(folders, recovery, first));
    ASSERT_TRUE(folders.exists("background.png"));

    // A new painting, most likely where the old one was in memory, with the
    // same first stroke on a plain background.
    first.reset();
    auto second = newPainting(200, 160, 4);
    strokeNumber(*second, 37, 0);
    auto restored = writtenAndReadBack(folders, recovery, second);
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->activeLayer()->getStrokeNumber(), 1);
    EXPECT_FALSE(restored->backgroundImage());
    EXPECT_FALSE(folders.exists("background.png"));
    EXPECT_EQ(screenOf(*restored), screenOf(*second));

    // Another photo replaces the picture; the same one is not written again.
    second->setBackgroundImage(photo(200, 160, qRgb(30, 30, 220)));
    restored = writtenAndReadBack(folders, recovery, second);
    ASSERT_TRUE(restored && restored->backgroundImage());
    EXPECT_EQ(screenOf(*restored), screenOf(*second));
    const ino_t written = inodeOf(folders.file("background.png"));
    strokeNumber(*second, 11, 2);
    ASSERT_TRUE(writtenAndReadBack(folders, recovery, second));
    EXPECT_EQ(inodeOf(folders.file("background.png")), written);
    // Removed behind the writer's back, it comes back with the next stroke.
    ASSERT_TRUE(QFile::remove(folders.file("background.png")));
    strokeNumber(*second, 11, 3);
    restored = writtenAndReadBack(folders, recovery, second);
    ASSERT_TRUE(restored && restored->backgroundImage());
    EXPECT_EQ(screenOf(*restored), screenOf(*second));
}

TEST(PaintingRecovery, OnlyTheNewestStateWaitingIsWrittenAndADiscardOvertakesThemAll)
{
    RecoveryFolders folders;
    PaintingRecovery recovery;
    Reports reports;
    reports.attach(recovery);
    auto painting = newPainting(200, 160, 9);
    painting->setBackgroundImage(photo(200, 160, qRgb(90, 90, 90)));
    for (int n = 0; n < 30; ++n)
        strokeNumber(*painting, 64, n);
    // Changes reported while the queue is busy wait for it; each takes the
    // place of the one before.
    auto reportWhileBusy = [&](const std::function<void()>& changes) {
        std::promise<void> release;
        RecoveryWriter::queue().async([done = release.get_future().share()] { done.wait(); });
        changes();
        release.set_value();
        return PaintingRecovery::waitUntilWritten();
    };
    ASSERT_TRUE(reportWhileBusy([&] {
        for (int n = 0; n < 30; ++n)
            recovery.paintingChanged(painting);
    }));
    EXPECT_EQ(reports.all(), (std::vector<std::pair<uint64_t, bool>> { { 30, true } }));
    auto restored = PaintingRecovery::loadRecoveredPainting(folders.recovery());
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->activeLayer()->getStrokeNumber(), 30);

    ASSERT_TRUE(reportWhileBusy([&] {
        strokeNumber(*painting, 13, 31);
        recovery.paintingChanged(painting);
        recovery.discard();
    }));
    EXPECT_EQ(reports.all().back(), std::make_pair(uint64_t { 0 }, true));
    EXPECT_EQ(reports.all().size(), 2u);
    EXPECT_FALSE(QDir(folders.recovery()).exists());

    // Drawing on afterwards keeps it again, whole, picture and all.
    strokeNumber(*painting, 13, 32);
    restored = writtenAndReadBack(folders, recovery, painting);
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->activeLayer()->getStrokeNumber(), 32);
    EXPECT_TRUE(restored->backgroundImage());
}

TEST(PaintingRecovery, WhatIsNotWorthOfferingOrCannotBeReadIsNotOfferedAndGoes)
{
    struct Case {
        const char* name;
        int strokes;
        std::function<void(const RecoveryFolders&)> spoil;
        bool offered;
    };
    const Case cases[] = {
        { "two strokes", 2, nullptr, true },
        { "one stroke, which the editor lets go without asking", 1, nullptr, false },
        { "a stroke file cut short", 3,
            [](const RecoveryFolders& f) {
                auto bytes = readBytes(f.file("painting.stk"));
                bytes.resize(bytes.size() - 9);
                writeBytes(f.file("painting.stk"), bytes);
            },
            false },
        { "no stroke file, a picture left", 3, [](const RecoveryFolders& f) { QFile::remove(f.file("painting.stk")); }, false },
        { "a damaged picture: strokes on the plain colour", 3,
            [](const RecoveryFolders& f) { writeBytes(f.file("background.png"), { 1, 2, 3 }); }, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecoveryFolders folders;
        {
            PaintingRecovery recovery;
            auto painting = newPainting(200, 160, 4);
            painting->setBackgroundImage(photo(200, 160, qRgb(1, 2, 3)));
            for (int n = 0; n < c.strokes; ++n)
                strokeNumber(*painting, 16, n);
            ASSERT_TRUE(writtenAndReadBack(folders, recovery, painting));
        }
        if (c.spoil)
            c.spoil(folders);
        bool answered = false;
        std::unique_ptr<Painting> found;
        PaintingRecovery::findRecoveredPainting([&](std::unique_ptr<Painting> painting) {
            found = std::move(painting);
            answered = true;
        });
        ASSERT_TRUE(PaintingRecovery::waitUntilWritten());
        ASSERT_TRUE(platform::DispatchQueue::mainQueue().waitUntilIdle());
        ASSERT_TRUE(answered);
        EXPECT_EQ(found != nullptr, c.offered);
        EXPECT_EQ(QDir(folders.recovery()).exists(), c.offered);
        if (found)
            EXPECT_EQ(found->activeLayer()->getStrokeNumber(), c.strokes);
    }
}

TEST(PaintingRecovery, AWriteWithNowhereToGoFailsWithoutMakingUpTheFolder)
{
    QTemporaryDir root;
    const QString folder = root.filePath("gone/Documents.recovery");
    PaintingRecovery recovery(folder);
    Reports reports;
    reports.attach(recovery);
    auto painting = newPainting(120, 100, 0);
    strokeNumber(*painting, 13, 0);
    recovery.paintingChanged(painting);
    ASSERT_TRUE(PaintingRecovery::waitUntilWritten());
    EXPECT_EQ(reports.all(), (std::vector<std::pair<uint64_t, bool>> { { 1, false } }));
    EXPECT_FALSE(QDir(root.filePath("gone")).exists());
    EXPECT_FALSE(PaintingRecovery::loadRecoveredPainting(folder));
}
