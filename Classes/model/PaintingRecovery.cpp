#include "Classes/model/PaintingRecovery.h"

#include "Classes/model/Layer.h"
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingFile.h"
#include "platform/system/DispatchQueue.h"
#include "platform/system/FileLocations.h"

#include <QDir>
#include <QFile>
#include <mutex>
#include <sys/resource.h>
#include <unistd.h>

using platform::DispatchQueue;
using platform::Image;

namespace {

const QString strokeFile = QStringLiteral("painting.stk");
const QString backgroundName = QStringLiteral("background");

// One queue for every recovery of the process, so that a removal asked for
// at start and the writes of the editor keep their order.
DispatchQueue& recoveryQueue()
{
    static const std::shared_ptr<DispatchQueue> queue = [] {
        auto serial = DispatchQueue::createSerial("recoveryQueue");
        // The writer gives way to the window: on a busy machine a write must
        // not take the time slice of the finger that is drawing.
        serial->async([] { ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10); });
        return serial;
    }();
    return *queue;
}

QString backgroundPath(const QString& folder, bool retina)
{
    return folder + QLatin1Char('/') + paintingImageFileName(backgroundName, QString(), retina);
}

bool removeIfThere(const QString& path)
{
    return !QFile::exists(path) || QFile::remove(path);
}

// Replays every stroke of the layer into a canvas of its own and makes that
// the layer's picture, exactly as drawing the strokes live left it.
bool rebuildCanvasByReplay(Layer& layer)
{
    platform::BitmapContext* canvas = layer.layerContext();
    if (!canvas)
        return false;
    layer.startPlayback();
    platform::BitmapContext* replayed = layer.playbackLayerContext();
    const int points = std::max(layer.getStrokePointsNumber(), 1);
    // Each step crosses as many strokes as its points reach, so one is
    // enough; the bound only guards against a replay that stops advancing.
    for (int step = 0; replayed && !layer.endOfStrokeList() && step <= layer.getStrokeNumber() + 1; ++step)
        layer.playbackNextStrokePointsOfNumber(points);
    const bool finished = replayed && layer.endOfStrokeList();
    if (finished)
        copyCanvasRegion(*replayed, *canvas, platform::Rect(0, 0, layer.width(), layer.height()));
    // Stopping copies the canvas into the offscreen one as well.
    layer.stopPlayback();
    return finished;
}

}

struct PaintingRecovery::Job {
    // A removal instead of a write.
    bool remove { false };
    uint64_t generation { 0 };
    StrokeFileHeader header;
    struct LayerBlock {
        int32_t fileStrokes { 0 };
        std::vector<std::shared_ptr<const std::vector<uint8_t>>> strokes;
    };
    std::vector<LayerBlock> layers;
    std::optional<Image> background;
};

struct PaintingRecovery::Writer {
    explicit Writer(QString folder)
        : folder(std::move(folder))
    {
    }

    void write(const Job& job);
    void remove();
    bool writeBackground(const std::optional<Image>& background);
    void report(uint64_t generation, bool succeeded)
    {
        WriteObserver observing;
        {
            std::lock_guard lock(mutex);
            observing = observer;
        }
        if (observing)
            observing(generation, succeeded);
    }

    const QString folder;
    std::mutex mutex;
    // Guarded by the mutex: the newest state not yet taken by the queue, and
    // whether a block of the queue will take it.
    std::optional<Job> pending;
    bool scheduled { false };
    WriteObserver observer;
    // Used on the queue only: the picture now on disk (0 for none), unknown
    // at first since an earlier run may have left one.
    std::optional<qint64> writtenBackground;
};

void PaintingRecovery::Writer::write(const Job& job)
{
    // The folder's parent is the Documents folder's; when that has gone, so
    // has the painting's place, and nothing is made up anew.
    if (!QDir(folder).exists() && !QDir().mkdir(folder)) {
        report(job.generation, false);
        return;
    }
    if (!writeBackground(job.background)) {
        report(job.generation, false);
        return;
    }
    std::vector<uint8_t> bytes;
    size_t size = StrokeFileHeader::byteSize;
    for (const auto& layer : job.layers) {
        size += strokefile::layerHeaderSize;
        for (const auto& stroke : layer.strokes)
            size += stroke->size();
    }
    bytes.reserve(size);
    appendStrokeFileHeader(bytes, job.header);
    for (const auto& layer : job.layers) {
        // A layer block as the stroke file writes it: reserved 0, the count, the strokes.
        const int32_t fields[2] = { 0, layer.fileStrokes };
        const auto* fieldBytes = reinterpret_cast<const uint8_t*>(fields);
        bytes.insert(bytes.end(), fieldBytes, fieldBytes + sizeof fields);
        for (const auto& stroke : layer.strokes)
            bytes.insert(bytes.end(), stroke->begin(), stroke->end());
    }
    report(job.generation, storeBytesAtomically(folder + QLatin1Char('/') + strokeFile, bytes));
}

bool PaintingRecovery::Writer::writeBackground(const std::optional<Image>& background)
{
    const bool hasPicture = background && !background->isNull();
    const qint64 key = hasPicture ? background->qimage().cacheKey() : 0;
    const bool retina = hasPicture && background->scale() >= 2;
    // Written once; again only when it changed or went (removed by the
    // question at start, say).
    if (writtenBackground == key && (!hasPicture || QFile::exists(backgroundPath(folder, retina))))
        return true;
    // The stroke file goes first: for a moment there is no recovery rather
    // than one whose strokes lie on another painting's picture.
    if (!removeIfThere(folder + QLatin1Char('/') + strokeFile))
        return false;
    bool stored = removeIfThere(backgroundPath(folder, !retina));
    stored = stored && (hasPicture ? storeImage(*background, backgroundPath(folder, retina)) : removeIfThere(backgroundPath(folder, retina)));
    writtenBackground = stored ? std::optional<qint64>(key) : std::nullopt;
    return stored;
}

void PaintingRecovery::Writer::remove()
{
    const bool removed = removeRecoveredPainting(folder);
    writtenBackground = removed ? std::optional<qint64>(0) : std::nullopt;
    report(0, removed);
}

PaintingRecovery::PaintingRecovery()
    : PaintingRecovery(recoveryFolder())
{
}

PaintingRecovery::PaintingRecovery(QString folder)
    : m_folder(std::move(folder))
    , m_writer(std::make_shared<Writer>(m_folder))
{
}

PaintingRecovery::~PaintingRecovery() = default;

void PaintingRecovery::setWriteObserver(WriteObserver observer)
{
    std::lock_guard lock(m_writer->mutex);
    m_writer->observer = std::move(observer);
}

bool PaintingRecovery::isSameStroke(const PackedStroke& packed, const Stroke& stroke)
{
    // A finished stroke never changes, but an undone one's memory may hold
    // the next: the address alone does not tell them apart.
    const auto& points = stroke.strokePoints();
    return packed.stroke == &stroke && packed.pointCount == stroke.getStrokePointsNumber()
        && (points.empty()
            || (packed.first.position() == points.front().position() && packed.first.brushData() == points.front().brushData()
                && packed.last == points.back().position()));
}

void PaintingRecovery::updatePackedLayer(std::vector<PackedStroke>& packed, const std::vector<std::unique_ptr<Stroke>>& strokes)
{
    size_t same = 0;
    while (same < packed.size() && same < strokes.size() && isSameStroke(packed[same], *strokes[same]))
        ++same;
    packed.erase(packed.begin() + static_cast<std::ptrdiff_t>(same), packed.end());
    for (size_t i = same; i < strokes.size(); ++i) {
        const Stroke& stroke = *strokes[i];
        auto bytes = std::make_shared<std::vector<uint8_t>>();
        archiveStroke(*bytes, stroke);
        const auto& points = stroke.strokePoints();
        packed.push_back({ &stroke, stroke.getStrokePointsNumber(), points.empty() ? StrokePoint() : points.front(),
            points.empty() ? __packedPoint { 0, 0 } : points.back().position(), std::move(bytes),
            strokefile::fileStrokeCount(stroke) });
    }
}

void PaintingRecovery::paintingChanged(const std::shared_ptr<const Painting>& painting)
{
    if (!painting)
        return;
    // Undo leaves a saved painting saved: there is nothing to lose, so
    // nothing to keep.
    if (painting->isSaved()) {
        discard();
        return;
    }
    // The weak reference keeps the painting's identity: another painting can
    // never pass for this one, even at the same address.
    const bool samePainting = !m_painting.owner_before(painting) && !painting.owner_before(m_painting) && !m_painting.expired();
    const auto& layers = painting->layerArray();
    if (!samePainting || m_layers.size() != layers.size()) {
        m_painting = painting;
        m_layers.assign(layers.size(), {});
    }
    Job job;
    job.generation = ++m_generation;
    job.header = makeStrokeFileHeader(*painting);
    job.background = painting->backgroundImage();
    job.layers.reserve(layers.size());
    for (size_t i = 0; i < layers.size(); ++i) {
        updatePackedLayer(m_layers[i], layers[i]->strokeList());
        Job::LayerBlock& block = job.layers.emplace_back();
        block.strokes.reserve(m_layers[i].size());
        for (const PackedStroke& stroke : m_layers[i]) {
            block.fileStrokes += stroke.fileStrokes;
            block.strokes.push_back(stroke.bytes);
        }
    }
    submit(std::move(job));
}

void PaintingRecovery::discard()
{
    m_painting.reset();
    m_layers.clear();
    Job job;
    job.remove = true;
    submit(std::move(job));
}

void PaintingRecovery::submit(Job job)
{
    {
        std::lock_guard lock(m_writer->mutex);
        m_writer->pending = std::move(job);
        if (m_writer->scheduled)
            return;
        m_writer->scheduled = true;
    }
    recoveryQueue().async([writer = m_writer] {
        for (;;) {
            std::optional<Job> next;
            {
                std::lock_guard lock(writer->mutex);
                if (!writer->pending) {
                    writer->scheduled = false;
                    return;
                }
                next.swap(writer->pending);
            }
            if (next->remove)
                writer->remove();
            else
                writer->write(*next);
        }
    });
}

bool PaintingRecovery::waitUntilWritten(std::chrono::milliseconds timeout)
{
    return recoveryQueue().waitUntilIdle(timeout);
}

QString PaintingRecovery::recoveryFolder()
{
    const QString documents = platform::FileLocations::documentsDirectory();
    return documents.isEmpty() ? QString() : documents + QStringLiteral(".recovery");
}

std::unique_ptr<Painting> PaintingRecovery::loadRecoveredPainting(const QString& folder)
{
    if (folder.isEmpty())
        return nullptr;
    auto painting = std::make_unique<Painting>(platform::Size { 0, 0 });
    if (!loadStrokeFromFile(folder + QLatin1Char('/') + strokeFile, *painting))
        return nullptr;
    const platform::Size size { static_cast<float>(painting->width()), static_cast<float>(painting->height()) };
    if (auto background = loadImageNamed(backgroundPath(folder, false), size))
        painting->setBackgroundImage(std::move(background));
    for (const auto& layer : painting->layerArray()) {
        if (!rebuildCanvasByReplay(*layer))
            return nullptr;
        // Nothing of it is in any saved painting.
        layer->setIndexOfFirstModifiedStroke(0);
    }
    // New strokes go on in the mode of the first one, as in a reopened painting.
    const auto& first = painting->layerArray().front()->strokeList();
    painting->setMirrixMode(first.empty() ? Painting::defaultMirrixMode : first.front()->getMirrixMode());
    painting->setCropRegion(platform::Rect(0, 0, size.width, size.height));
    painting->setDirtyRect(platform::Rect::zero());
    painting->setIsSaved(false);
    return painting;
}

void PaintingRecovery::findRecoveredPainting(FoundPainting found)
{
    recoveryQueue().async([folder = recoveryFolder(), found = std::move(found)] {
        auto painting = std::make_shared<std::unique_ptr<Painting>>(loadRecoveredPainting(folder));
        // What the editor would have let go without asking is not worth
        // asking about now; a damaged recovery cannot be offered either.
        if (!*painting || !(*painting)->notSaved()) {
            painting->reset();
            removeRecoveredPainting(folder);
        }
        DispatchQueue::mainQueue().async([painting, found] { found(std::move(*painting)); });
    });
}

bool PaintingRecovery::removeRecoveredPainting(const QString& folder)
{
    if (folder.isEmpty())
        return true;
    // The stroke file first: without it nothing is offered, whatever is left.
    bool removed = removeIfThere(folder + QLatin1Char('/') + strokeFile);
    for (bool retina : { false, true })
        removed = removeIfThere(backgroundPath(folder, retina)) && removed;
    QDir().rmdir(folder);
    return removed;
}

void PaintingRecovery::discardRecoveredPainting()
{
    recoveryQueue().async([folder = recoveryFolder()] { removeRecoveredPainting(folder); });
}
