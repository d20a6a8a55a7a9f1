#include "Classes/model/PaintingFile.h"

#include "Classes/brushes/Brush.h"
#include "Classes/gallery/ImageUtility.h"
#include "Classes/gallery/Utility.h"
#include "Classes/model/Layer.h"
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingLimits.h"
#include "Classes/model/StrokeFile.h"
#include "platform/system/Device.h"
#include "platform/system/FileLocations.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::FileLocations;
using platform::Image;
using platform::Rect;

namespace {

const QString layerSuffixFormat = QStringLiteral("_layer_%1");
const QString backgroundSuffix = QStringLiteral("_bkg");
const QString thumbnailSuffix = QStringLiteral("_thumb");
// Every write into the painting directory holds this file's lock shared;
// removing orphans holds it exclusively, so that it never runs while a save
// in any process is writing pictures whose stroke file is still to come.
const QString saveLockName = QStringLiteral(".saving");

// A lock on the directory's lock file, released when it goes out of scope
// (or when its process dies). Without a lock file, or where it is no
// regular file, the lock is simply not had.
class DirectoryLock final {
public:
    DirectoryLock(const QString& directory, bool exclusive)
    {
        const QByteArray path = QFile::encodeName(directory + QLatin1Char('/') + saveLockName);
        m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644);
        if (m_fd < 0)
            return;
        struct stat info {};
        // A shared lock waits for a cleanup (which is brief); an exclusive one never waits.
        if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)
            || ::flock(m_fd, exclusive ? LOCK_EX | LOCK_NB : LOCK_SH) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~DirectoryLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;
    bool isHeld() const { return m_fd >= 0; }

private:
    int m_fd { -1 };
};

// The whole file under a temporary name, renamed over `path` once complete.
// Unbuffered, so that a short write (a full disk, a file size limit) is seen
// here: the buffered device would let the rename go ahead with a partial file.
bool writeFileAtomically(const QString& path, const char* data, qint64 size)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    for (qint64 written = 0; written < size;) {
        const qint64 chunk = file.write(data + written, size - written);
        if (chunk <= 0) {
            file.cancelWriting();
            return false;
        }
        written += chunk;
    }
    // Late allocation failures surface here, not at the rename.
    if (::fsync(file.handle()) != 0) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// PNG bytes of the picture. Quality 80 is zlib's fastest level: a full-size
// picture encodes several times faster than at the default and only a
// fifth larger.
std::optional<QByteArray> encodePng(const Image& image)
{
    if (image.isNull())
        return std::nullopt;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(80);
    if (!writer.write(image.qimage()))
        return std::nullopt;
    return png;
}

struct PictureFile {
    QString path;
    Image image;
    std::optional<QByteArray> png;
};

// Encodes the pictures side by side; encoding is most of a save's time.
void encodePictures(std::vector<PictureFile>& pictures)
{
    std::vector<std::future<void>> running;
    for (size_t i = 1; i < pictures.size(); ++i)
        running.push_back(std::async(std::launch::async, [&picture = pictures[i]] { picture.png = encodePng(picture.image); }));
    if (!pictures.empty())
        pictures.front().png = encodePng(pictures.front().image);
    for (auto& job : running)
        job.wait();
}

std::optional<QString> pathInPaintingDirectory(const QString& fileName)
{
    auto directory = getPaintingDirectoryPath();
    if (!directory)
        return std::nullopt;
    return *directory + QLatin1Char('/') + fileName;
}

// Decodes the picture only when it is a regular file holding a PNG whose
// header promises no more pixels than the limit: a small file can claim a
// picture of hundreds of megabytes.
std::optional<Image> readImage(const QString& path, float scale, const QSize& limit)
{
    auto file = FileLocations::openRegularFile(path);
    if (!file)
        return std::nullopt;
    QImageReader reader(file.get(), "png");
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > limit.width() || size.height() > limit.height())
        return std::nullopt;
    QImage pixels = reader.read();
    if (pixels.isNull() || pixels.size() != size)
        return std::nullopt;
    return Image(std::move(pixels), scale);
}

QSize pixelLimit(const platform::Size& maxPointSize, int scale)
{
    return QSize(static_cast<int>(maxPointSize.width) * scale, static_cast<int>(maxPointSize.height) * scale);
}

// The largest thumbnail any cell of the grid asks for, in points.
platform::Size thumbnailLimit()
{
    const platform::Rect screen = platform::Device::mainScreenBounds();
    const float side = static_cast<float>(paintinglimits::maxThumbnailSide(screen.width(), screen.height(), 1));
    return { side, side };
}

// The painting's size as its stroke file's header gives it, without reading further.
std::optional<platform::Size> storedPaintingSize(const QString& strokePath)
{
    auto file = FileLocations::openRegularFile(strokePath);
    if (!file)
        return std::nullopt;
    const QByteArray bytes = file->read(StrokeFileHeader::byteSize);
    ByteReader header(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())));
    header.take(4);
    const auto width = header.readInt32(), height = header.readInt32();
    if (!width || !height || *width <= 0 || *height <= 0 || *width > paintinglimits::maxSide
        || *height > paintinglimits::maxSide)
        return std::nullopt;
    return platform::Size { static_cast<float>(*width), static_cast<float>(*height) };
}

// Puts the stored layer picture back into the canvas, or, without one, the
// full picture upright, and makes the offscreen canvas match.
void restoreLayerCanvas(Layer& layer, const std::optional<Image>& paintingImage)
{
    platform::BitmapContext* context = layer.layerContext();
    if (!context)
        return;
    const auto& snapshot = layer.snapShotImage();
    if (snapshot && !snapshot->isNull()) {
        QImage pixels = snapshot->qimage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (pixels.width() == context->width() && pixels.height() == context->height()) {
            // The picture's rows are the canvas's memory rows and the canvas is
            // still transparent, so drawing it over the canvas is this copy.
            auto* memory = static_cast<uint8_t*>(context->data());
            const size_t rowBytes = static_cast<size_t>(pixels.width()) * 4;
            for (int row = 0; row < pixels.height(); ++row)
                std::memcpy(memory + static_cast<size_t>(row) * context->bytesPerRow(), pixels.constScanLine(row), rowBytes);
        } else {
            context->drawImage(Rect(0, 0, static_cast<float>(snapshot->pixelWidth()),
                                   static_cast<float>(snapshot->pixelHeight())),
                *snapshot);
        }
    } else if (paintingImage && !paintingImage->isNull()) {
        context->drawImageTopLeft(Rect(0, 0, paintingImage->size().width, paintingImage->size().height), *paintingImage);
    }
    layer.syncOnScreenToOffScreen();
}

}

std::optional<QString> getPaintingDirectoryPath()
{
    const QString documents = platform::FileLocations::documentsDirectory();
    if (documents.isEmpty())
        return std::nullopt;
    const QString path = documents + QStringLiteral("/Painting");
    if (!QDir().mkpath(path))
        return std::nullopt;
    return path;
}

QString paintingImageFileName(const QString& name, const QString& suffix, bool retina)
{
    return name + suffix + (retina ? QStringLiteral("@2x.png") : QStringLiteral(".png"));
}

QString strokeFileName(const QString& name)
{
    return name + QStringLiteral(".stk");
}

bool storeBytesAtomically(const QString& path, std::span<const uint8_t> bytes)
{
    return writeFileAtomically(path, reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

bool storeImage(const Image& image, const QString& path)
{
    auto png = encodePng(image);
    return png && writeFileAtomically(path, png->constData(), png->size());
}

std::optional<Image> loadImageNamed(const QString& path, const platform::Size& maxPointSize)
{
    if (isRetina()) {
        QFileInfo info(path);
        const QString suffix = info.suffix();
        QString retinaPath = path;
        retinaPath.insert(path.size() - (suffix.isEmpty() ? 0 : suffix.size() + 1), QStringLiteral("@2x"));
        if (QFileInfo::exists(retinaPath))
            return readImage(retinaPath, 2, pixelLimit(maxPointSize, 2));
    }
    return readImage(path, 1, pixelLimit(maxPointSize, 1));
}

std::optional<Image> loadPaintingThumbnailImage(const QString& name)
{
    auto path = pathInPaintingDirectory(paintingImageFileName(name, thumbnailSuffix, false));
    return path ? loadImageNamed(*path, thumbnailLimit()) : std::nullopt;
}

std::optional<Image> loadPaintingFullSizeImage(const QString& name)
{
    auto directory = getPaintingDirectoryPath();
    if (!directory)
        return std::nullopt;
    const QString base = *directory + QLatin1Char('/');
    // Without a readable size there is no painting to measure the picture by.
    auto size = storedPaintingSize(base + strokeFileName(name));
    if (!size)
        return std::nullopt;
    return loadImageNamed(base + paintingImageFileName(name, QString(), false), *size);
}

bool storePainting(const QString& name, Painting& painting)
{
    auto directory = getPaintingDirectoryPath();
    if (!directory)
        return false;
    const QString base = *directory + QLatin1Char('/');
    const bool retina = isRetina();
    DirectoryLock saving(*directory, false);
    std::vector<PictureFile> pictures;
    if (painting.backgroundImage())
        pictures.push_back({ base + paintingImageFileName(name, backgroundSuffix, retina), *painting.backgroundImage(), {} });
    if (painting.thumbnailImage())
        pictures.push_back({ base + paintingImageFileName(name, thumbnailSuffix, retina), *painting.thumbnailImage(), {} });
    if (painting.paintingImage())
        pictures.push_back({ base + paintingImageFileName(name, QString(), retina), *painting.paintingImage(), {} });
    const auto& layers = painting.layerArray();
    for (size_t d = 0; d < layers.size(); ++d) {
        if (auto image = layers[d]->getLayerImage())
            pictures.push_back({ base + paintingImageFileName(name, layerSuffixFormat.arg(d), retina), *image, {} });
    }
    encodePictures(pictures);
    // The layer pictures go before the stroke file too: once the stroke file
    // is there, the painting is listed and everything it needs must be there.
    for (const PictureFile& picture : pictures) {
        if (!picture.png || !writeFileAtomically(picture.path, picture.png->constData(), picture.png->size()))
            return false;
    }
    return storeStrokeToFile(base + strokeFileName(name), painting);
}

bool storeStrokeToFile(const QString& path, Painting& painting)
{
    // Nothing drawn since the file was read: it already holds every stroke.
    // A save under another name still has to write it.
    if (Layer* active = painting.activeLayer()) {
        const int stored = active->indexOfFirstModifiedStroke();
        if (stored > 0 && active->getStrokeNumber() <= stored && FileLocations::isRegularFile(path))
            return true;
    }
    const std::vector<uint8_t> bytes = encodeStrokeFile(painting);
    if (!writeFileAtomically(path, reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())))
        return false;
    for (const auto& layer : painting.layerArray())
        layer->setIndexOfFirstModifiedStroke(0);
    return true;
}

bool loadStrokeFromFile(const QString& path, Painting& painting)
{
    auto file = FileLocations::openRegularFile(path);
    if (!file)
        return false;
    // Only what the counts ask for is read, and never more than the limit.
    const auto length = std::min(static_cast<size_t>(std::max<qint64>(file->size(), 0)), paintinglimits::maxStrokeFileBytes);
    ByteReader reader(*file, length);
    auto contents = decodeStrokeFile(reader);
    if (!contents)
        return false;
    const StrokeFileHeader& header = contents->header;
    const platform::Size size { static_cast<float>(header.width), static_cast<float>(header.height) };
    std::vector<std::unique_ptr<Layer>> layers;
    for (auto& strokes : contents->layers) {
        auto layer = Layer::createWithSize(size);
        if (!layer->hasCanvas())
            return false;
        const int count = static_cast<int>(strokes.size());
        for (auto& stroke : strokes)
            layer->addStroke(std::move(stroke));
        layer->setIndexOfFirstModifiedStroke(count);
        layers.push_back(std::move(layer));
    }
    painting.setWidth(header.width);
    painting.setHeight(header.height);
    painting.setBackgroundColor(header.backgroundColor);
    for (auto& layer : layers)
        painting.addLayer(std::move(layer));
    return true;
}

bool loadPainting(const QString& name, Painting& painting)
{
    auto directory = getPaintingDirectoryPath();
    if (!directory)
        return false;
    const QString base = *directory + QLatin1Char('/');
    // The stroke file first: its size is what every picture is measured by.
    if (!loadStrokeFromFile(base + strokeFileName(name), painting))
        return false;
    const platform::Size size { static_cast<float>(painting.width()), static_cast<float>(painting.height()) };
    std::optional<Image> background = loadImageNamed(base + paintingImageFileName(name, backgroundSuffix, false), size);
    if (background)
        background = cropImage(*background, background->size().width, background->size().height, 0,
            platform::Color::clear(), true);
    std::optional<Image> thumbnail = loadImageNamed(base + paintingImageFileName(name, thumbnailSuffix, false), thumbnailLimit());
    std::optional<Image> full = loadImageNamed(base + paintingImageFileName(name, QString(), false), size);
    if (background)
        painting.setBackgroundImage(std::move(background));
    painting.setThumbnailImage(std::move(thumbnail));
    painting.setPaintingImage(std::move(full));
    const auto& layers = painting.layerArray();
    for (size_t d = 0; d < layers.size(); ++d)
        layers[d]->setSnapShotImage(
            loadImageNamed(base + paintingImageFileName(name, layerSuffixFormat.arg(d), false), size));
    return true;
}

std::unique_ptr<Painting> Painting::initWithContentsOfFile(const QString& name)
{
    auto painting = std::make_unique<Painting>(platform::Size { 0, 0 });
    if (!loadPainting(name, *painting))
        return nullptr;
    // A first layer without strokes has no recorded mode; it opens like a new painting.
    int mode = defaultMirrixMode;
    const auto& first = painting->layerArray().front()->strokeList();
    if (!first.empty())
        mode = first.front()->getMirrixMode();
    painting->setMirrixMode(mode);
    if (const auto& image = painting->paintingImage())
        painting->setCropRegion(Rect(0, 0, image->size().width, image->size().height));
    painting->setDirtyRect(Rect::zero());
    painting->setIsSaved(true);
    for (const auto& layer : painting->layerArray())
        restoreLayerCanvas(*layer, painting->paintingImage());
    return painting;
}

bool removePainting(const QString& name)
{
    auto directory = getPaintingDirectoryPath();
    if (!directory)
        return false;
    const QFileInfo stem(*directory + QLatin1Char('/') + name);
    QDir folder = stem.dir();
    const QString base = stem.fileName();
    QStringList files { strokeFileName(base) };
    for (const QString& suffix : { backgroundSuffix, thumbnailSuffix, QString() })
        for (bool retina : { false, true })
            files << paintingImageFileName(base, suffix, retina);
    const QRegularExpression layerPattern(
        QStringLiteral("^%1_layer_\\d+(@2x)?\\.png$").arg(QRegularExpression::escape(base)));
    for (const QString& entry : folder.entryList({ base + QStringLiteral("_layer_*") }, QDir::Files))
        if (layerPattern.match(entry).hasMatch())
            files << entry;
    bool removedAll = true;
    for (const QString& file : files)
        if (folder.exists(file) && !folder.remove(file))
            removedAll = false;
    return removedAll;
}

std::optional<int> removeOrphanPaintingFiles()
{
    auto directory = getPaintingDirectoryPath();
    if (!directory)
        return std::nullopt;
    DirectoryLock cleaning(*directory, true);
    if (!cleaning.isHeld())
        return std::nullopt;
    QDir folder(*directory);
    // Regular files only, hidden ones too; pipes and the like are left alone.
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden);
    std::set<QString> paintings;
    for (const QString& entry : entries)
        if (entry.endsWith(QLatin1String(".stk")))
            paintings.insert(entry.chopped(4));
    // A save names its painting after the clock ("2013-03-03-10-11-12", "-2"…
    // when taken) and writes "N.png", "N@2x.png", "N_bkg.png", "N_thumb@2x.png",
    // "N_layer_3.png"… Only pictures named so can be a killed save's.
    static const QRegularExpression picture(QStringLiteral(
        "^((\\d{4}-\\d\\d-\\d\\d-\\d\\d-\\d\\d-\\d\\d(?:-\\d+)?)(_bkg|_thumb|_layer_\\d+)?)(@2x)?\\.png$"));
    // What an interrupted atomic write leaves: the final name and six random characters.
    static const QRegularExpression unfinished(QStringLiteral("^(.+\\.(png|stk)|index)\\.[A-Za-z0-9]{6}$"));
    int removed = 0;
    for (const QString& entry : entries) {
        bool orphan = false;
        if (const auto match = picture.match(entry); match.hasMatch())
            orphan = !paintings.count(match.captured(2));
        else
            orphan = unfinished.match(entry).hasMatch();
        if (orphan && FileLocations::isRegularFile(folder.filePath(entry)) && folder.remove(entry))
            ++removed;
    }
    return removed;
}

uint32_t loadGlobalUniqueImageIndex()
{
    auto path = pathInPaintingDirectory(QStringLiteral("index"));
    if (!path)
        return 0;
    auto file = FileLocations::openRegularFile(*path);
    if (!file)
        return 0;
    const QByteArray bytes = file->read(4);
    if (bytes.size() < 4)
        return 0;
    uint32_t index;
    std::memcpy(&index, bytes.constData(), 4);
    return index;
}

bool storeGlobalUniqueImageIndex(uint32_t index)
{
    auto path = pathInPaintingDirectory(QStringLiteral("index"));
    if (!path)
        return false;
    char bytes[4];
    std::memcpy(bytes, &index, 4);
    DirectoryLock saving(*getPaintingDirectoryPath(), false);
    return writeFileAtomically(*path, bytes, 4);
}
