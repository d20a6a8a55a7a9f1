#include "Classes/model/PaintingFile.h"

#include "Classes/brushes/Brush.h"
#include "Classes/gallery/ImageUtility.h"
#include "Classes/gallery/Utility.h"
#include "Classes/model/Layer.h"
#include "Classes/model/Painting.h"
#include "Classes/model/StrokeFile.h"
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
#include <future>
#include <unistd.h>

using platform::Image;
using platform::Rect;

namespace {

const QString layerSuffixFormat = QStringLiteral("_layer_%1");
const QString backgroundSuffix = QStringLiteral("_bkg");
const QString thumbnailSuffix = QStringLiteral("_thumb");

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

std::optional<Image> readImage(const QString& path, float scale)
{
    QImageReader reader(path);
    QImage pixels = reader.read();
    if (pixels.isNull())
        return std::nullopt;
    return Image(std::move(pixels), scale);
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

bool storeImage(const Image& image, const QString& path)
{
    auto png = encodePng(image);
    return png && writeFileAtomically(path, png->constData(), png->size());
}

std::optional<Image> loadImageNamed(const QString& path)
{
    if (isRetina()) {
        QFileInfo info(path);
        const QString suffix = info.suffix();
        QString retinaPath = path;
        retinaPath.insert(path.size() - (suffix.isEmpty() ? 0 : suffix.size() + 1), QStringLiteral("@2x"));
        if (QFileInfo::exists(retinaPath))
            return readImage(retinaPath, 2);
    }
    if (!QFileInfo::exists(path))
        return std::nullopt;
    return readImage(path, 1);
}

std::optional<Image> loadPaintingThumbnailImage(const QString& name)
{
    auto path = pathInPaintingDirectory(paintingImageFileName(name, thumbnailSuffix, false));
    return path ? loadImageNamed(*path) : std::nullopt;
}

std::optional<Image> loadPaintingFullSizeImage(const QString& name)
{
    auto path = pathInPaintingDirectory(paintingImageFileName(name, QString(), false));
    return path ? loadImageNamed(*path) : std::nullopt;
}

bool storePainting(const QString& name, Painting& painting)
{
    auto directory = getPaintingDirectoryPath();
    if (!directory)
        return false;
    const QString base = *directory + QLatin1Char('/');
    const bool retina = isRetina();
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
        if (stored > 0 && active->getStrokeNumber() <= stored && QFileInfo::exists(path))
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    auto contents = decodeStrokeFile(
        std::span(reinterpret_cast<const uint8_t*>(data.constData()), static_cast<size_t>(data.size())));
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
    std::optional<Image> background = loadImageNamed(base + paintingImageFileName(name, backgroundSuffix, false));
    if (background)
        background = cropImage(*background, background->size().width, background->size().height, 0,
            platform::Color::clear(), true);
    std::optional<Image> thumbnail = loadImageNamed(base + paintingImageFileName(name, thumbnailSuffix, false));
    std::optional<Image> full = loadImageNamed(base + paintingImageFileName(name, QString(), false));
    if (!loadStrokeFromFile(base + strokeFileName(name), painting))
        return false;
    if (background)
        painting.setBackgroundImage(std::move(background));
    painting.setThumbnailImage(std::move(thumbnail));
    painting.setPaintingImage(std::move(full));
    const auto& layers = painting.layerArray();
    for (size_t d = 0; d < layers.size(); ++d)
        layers[d]->setSnapShotImage(loadImageNamed(base + paintingImageFileName(name, layerSuffixFormat.arg(d), false)));
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

uint32_t loadGlobalUniqueImageIndex()
{
    auto path = pathInPaintingDirectory(QStringLiteral("index"));
    if (!path)
        return 0;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = file.read(4);
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
    return writeFileAtomically(*path, bytes, 4);
}
