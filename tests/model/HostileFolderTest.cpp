#include "Classes/model/PaintingManager.h"
#include "Classes/model/StrokeFile.h"
#include "ModelTestSupport.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>
#include <map>
#include <ostream>
#include <tuple>
#include <sys/stat.h>

namespace {

// A valid PNG of a 4096 x 4096 transparent picture in 8-bit RGBA: a few
// tens of kilobytes that decode to 64 MB.
const QByteArray& pictureBomb()
{
    static const QByteArray png = [] {
        QImage image(4096, 4096, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return buffer.data();
    }();
    return png;
}

bool writeData(const QString& path, const QByteArray& data)
{
    QFile::remove(path);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

bool makePipe(const QString& path)
{
    QFile::remove(path);
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

template <typename T>
void poke(std::vector<uint8_t>& bytes, size_t offset, T value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof(T));
}

bool editStrokeFile(const QString& at, const std::function<void(std::vector<uint8_t>&)>& edit)
{
    auto bytes = readBytes(at + ".stk");
    edit(bytes);
    return writeBytes(at + ".stk", bytes);
}

// Where a one-layer file's first stroke keeps its first position and size.
constexpr size_t firstPositionAt = 84 + 4, firstSizeAt = firstPositionAt + 8;

// What the child found for one painting.
struct Opened {
    bool painting = false, thumbnail = false, picture = false;
    int layers = 0, strokes = 0, layerPictures = 0;
    bool background = false;
    long ms = 0, grewKb = 0;
    bool operator==(const Opened& o) const
    {
        return std::tie(painting, thumbnail, picture, layers, strokes, layerPictures, background)
            == std::tie(o.painting, o.thumbnail, o.picture, o.layers, o.strokes, o.layerPictures, o.background);
    }
};

void PrintTo(const Opened& o, std::ostream* out)
{
    *out << "painting " << o.painting << " thumbnail " << o.thumbnail << " picture " << o.picture << " layers "
         << o.layers << " strokes " << o.strokes << " layer pictures " << o.layerPictures << " background " << o.background;
}

struct ChildRun {
    std::map<QString, Opened> opened;
    QString saved;
    bool finished = false;
};

ChildRun runOpenChild(const ScopedDocuments& documents)
{
    QProcess child;
    ChildRun run;
    // A hang is a failure, not a stuck test.
    run.finished = startChild(child, PAINTING_OPEN_CHILD, documents.path()) && child.waitForFinished(60000)
        && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    if (!run.finished) {
        child.kill();
        child.waitForFinished(5000);
    }
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() == 2 && f[0] == "saved")
            run.saved = QString::fromUtf8(f[1]);
        else if (f.size() == 11 && f[0] == "opened")
            run.opened[QString::fromUtf8(f[1])] = { f[2] == "1", f[3] == "1", f[4] == "1", f[5].toInt(), f[6].toInt(),
                f[7].toInt(), f[8] == "1", f[9].toLong(), f[10].toLong() };
        else if (f.size() == 2 && f[0] == "begin")
            run.opened[QString::fromUtf8(f[1])]; // still there if the painting never finished
    }
    return run;
}

std::unique_ptr<Painting> paintingWithEveryPicture(int brushType)
{
    auto painting = makePainting(320, 416);
    drawStroke(*painting, brushType, { { 20, 30 }, { 160, 200 }, { 300, 390 }, { 40, 380 } });
    painting->setBackgroundImage(platform::Image(QImage(320, 416, QImage::Format_RGB32)));
    painting->setPaintingImage(painting->getPaintingImage());
    painting->setThumbnailImage(PaintingManager().createThumbnail(*painting->paintingImage()));
    return painting;
}

}

// The sanitizers' shadow memory grows with every byte the child touches, several
// times over; the release build keeps the tight bound that catches a bomb.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr long memoryBoundKb = 8 * 40 * 1024;
#else
constexpr long memoryBoundKb = 40 * 1024;
#endif

// Every painting of a folder built by hand, as a damaged disk or a hostile
// hand could leave it, opens through the list and the painting reader in a
// bounded time and memory, without the damaged parts; the folder's own
// files (a pipe for the counter) stop no save.
TEST(HostileFolder, EveryPaintingOpensOrIsRefusedInBoundedTimeAndMemory)
{
    ScopedDocuments documents;
    // Each row damages the files of its painting, named by their common start.
    struct Row {
        const char* name;
        int brushType;
        std::function<bool(const QString&)> damage;
        Opened expected;
    };
    const Opened whole { true, true, true, 1, 1, 1, true }, refused { false, true, false, 0, 0, 0, false };
    const std::vector<Row> rows {
        { "intact", 13, [](const QString&) { return true; }, whole },
        { "bomb-layer", 13, [](const QString& at) { return writeData(at + "_layer_0.png", pictureBomb()); },
            { true, true, true, 1, 1, 0, true } },
        { "bomb-picture", 13, [](const QString& at) { return writeData(at + ".png", pictureBomb()); },
            { true, true, false, 1, 1, 1, true } },
        { "bomb-thumbnail", 13, [](const QString& at) { return writeData(at + "_thumb.png", pictureBomb()); },
            { true, false, true, 1, 1, 1, true } },
        { "bomb-background", 13, [](const QString& at) { return writeData(at + "_bkg.png", pictureBomb()); },
            { true, true, true, 1, 1, 1, false } },
        { "pipes", 13,
            [](const QString& at) {
                return makePipe(at + "_layer_0.png") && makePipe(at + ".png") && makePipe(at + "_thumb.png")
                    && makePipe(at + "_bkg.png");
            },
            { true, false, false, 1, 1, 0, false } },
        { "huge-sides", 13,
            [](const QString& at) {
                return editStrokeFile(at, [](std::vector<uint8_t>& bytes) {
                    poke<int32_t>(bytes, 4, 16384);
                    poke<int32_t>(bytes, 8, 16384);
                });
            },
            refused },
        { "many-layers", 13,
            [](const QString& at) {
                return editStrokeFile(at, [](std::vector<uint8_t>& bytes) {
                    bytes.resize(StrokeFileHeader::byteSize + 250000 * strokefile::layerHeaderSize);
                    poke<int32_t>(bytes, 4, 16);
                    poke<int32_t>(bytes, 8, 16);
                    poke<int32_t>(bytes, 12, 250000);
                });
            },
            refused },
        { "sparse-tail", 13,
            [](const QString& at) {
                QFile stk(at + ".stk");
                return stk.open(QIODevice::ReadWrite) && stk.resize(stk.size() + (qint64 { 2 } << 30));
            },
            whole },
        { "pattern-30000", 51,
            [](const QString& at) {
                return editStrokeFile(at, [](std::vector<uint8_t>& bytes) { poke<float>(bytes, firstSizeAt, 30000); });
            },
            whole },
        { "pen-nan-far", 13,
            [](const QString& at) {
                return editStrokeFile(at, [](std::vector<uint8_t>& bytes) {
                    poke<float>(bytes, firstSizeAt, std::numeric_limits<float>::quiet_NaN());
                    poke<int16_t>(bytes, firstPositionAt, 32767);
                    poke<int16_t>(bytes, firstPositionAt + 2, -32768);
                    // The pen keeps a size per point: the next one is astronomic.
                    poke<float>(bytes, firstPositionAt + 32, 1.7e30f);
                });
            },
            whole },
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(storePainting(row.name, *paintingWithEveryPicture(row.brushType))) << row.name;
        ASSERT_TRUE(row.damage(documents.file(row.name))) << row.name;
    }
    // A stroke file that is a pipe is no painting; a counter that is a pipe stops no save.
    ASSERT_TRUE(makePipe(documents.file("pipe-stroke.stk")));
    ASSERT_TRUE(makePipe(documents.file("index")));

    const ChildRun run = runOpenChild(documents);
    EXPECT_TRUE(run.finished);
    EXPECT_FALSE(run.saved.isEmpty());
    EXPECT_EQ(run.opened.count("pipe-stroke"), 0u);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(run.opened.count(row.name), 1u);
        const Opened& got = run.opened.at(row.name);
        EXPECT_EQ(got, row.expected);
        // Each of these took seconds or gigabytes, or never ended; a real
        // painting of this size needs a fraction of either.
        EXPECT_LT(got.ms, 2000);
        EXPECT_LT(got.grewKb, memoryBoundKb);
    }
}
