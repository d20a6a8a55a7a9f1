#include "Classes/model/PaintingRecovery.h"

#include "Classes/model/Layer.h"
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingFile.h"
#include "Classes/model/RecoveryWriter.h"
#include "platform/system/DispatchQueue.h"
#include "platform/system/FileLocations.h"

using platform::DispatchQueue;

namespace {

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

PaintingRecovery::PaintingRecovery()
    : PaintingRecovery(recoveryFolder())
{
}

PaintingRecovery::PaintingRecovery(QString folder)
    : m_folder(std::move(folder))
    , m_writer(std::make_shared<RecoveryWriter>(m_folder))
{
}

PaintingRecovery::~PaintingRecovery() = default;

void PaintingRecovery::setWriteObserver(WriteObserver observer)
{
    m_writer->setObserver(std::move(observer));
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
    RecoveryState state;
    state.generation = ++m_generation;
    state.header = makeStrokeFileHeader(*painting);
    state.background = painting->backgroundImage();
    state.layers.reserve(layers.size());
    for (size_t i = 0; i < layers.size(); ++i) {
        updatePackedLayer(m_layers[i], layers[i]->strokeList());
        RecoveryState::LayerBlock& block = state.layers.emplace_back();
        block.strokes.reserve(m_layers[i].size());
        for (const PackedStroke& stroke : m_layers[i]) {
            block.fileStrokes += stroke.fileStrokes;
            block.strokes.push_back(stroke.bytes);
        }
    }
    m_writer->write(std::move(state));
}

void PaintingRecovery::discard()
{
    m_painting.reset();
    m_layers.clear();
    m_writer->remove();
}

bool PaintingRecovery::waitUntilWritten(std::chrono::milliseconds timeout)
{
    return RecoveryWriter::queue().waitUntilIdle(timeout);
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
    if (!loadStrokeFromFile(RecoveryWriter::strokeFilePath(folder), *painting))
        return nullptr;
    const platform::Size size { static_cast<float>(painting->width()), static_cast<float>(painting->height()) };
    if (auto background = loadImageNamed(RecoveryWriter::backgroundPath(folder, false), size))
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
    RecoveryWriter::queue().async([folder = recoveryFolder(), found = std::move(found)] {
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
    return RecoveryWriter::removeFiles(folder);
}

void PaintingRecovery::discardRecoveredPainting()
{
    RecoveryWriter::queue().async([folder = recoveryFolder()] { RecoveryWriter::removeFiles(folder); });
}
