#pragma once

#include "Classes/model/StrokeFile.h"

#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class Painting;
class RecoveryWriter;
class Stroke;

// Keeps the painting in progress safe from a crash. After every finished
// stroke (and every undo) the editor reports the painting; its stroke file,
// and its background picture when that changes, are then written atomically
// into the recovery folder beside the Documents folder, on a serial queue of
// their own. Writes coalesce: a write still waiting is replaced by the newer
// state. The main thread only packs the strokes it has not packed before and
// hands over shared pieces, so a lift costs little however big the painting.
//
// A stroke file and the background are all a painting needs: on the next
// start the painting is read back and its canvas rebuilt by replaying it.
class PaintingRecovery final {
public:
    // Runs on the writing queue once the folder holds the state of the
    // generation-th change reported (0: the recovery was removed), or when
    // writing it failed.
    using WriteObserver = std::function<void(uint64_t generation, bool succeeded)>;
    using FoundPainting = std::function<void(std::unique_ptr<Painting>)>;

    // Writes into the recovery folder of the Documents folder as it is now.
    PaintingRecovery();
    explicit PaintingRecovery(QString folder);
    ~PaintingRecovery();
    PaintingRecovery(const PaintingRecovery&) = delete;
    PaintingRecovery& operator=(const PaintingRecovery&) = delete;

    const QString& folder() const { return m_folder; }
    uint64_t generation() const { return m_generation; }
    void setWriteObserver(WriteObserver observer);

    // Main thread: the painting's finished strokes changed (a stroke ended,
    // one was undone) or another painting took its place. Returns at once.
    // A painting that counts as saved is as good as discarded.
    void paintingChanged(const std::shared_ptr<const Painting>& painting);
    // Main thread: the painting was saved or given up; its recovery goes.
    void discard();
    // Waits until everything reported so far, by any recovery of the
    // process, is on disk (or removed).
    static bool waitUntilWritten(std::chrono::milliseconds timeout = std::chrono::minutes(1));

    // "<Documents folder>.recovery"; empty when there is no Documents folder.
    static QString recoveryFolder();
    // The painting kept in the folder, its canvas rebuilt by replay, unsaved;
    // null when there is none or its stroke file is damaged. Reads the disk:
    // not for the main thread.
    static std::unique_ptr<Painting> loadRecoveredPainting(const QString& folder);
    // Reads the recovery on the writing queue and hands the painting (or
    // null) to `found` on the main queue.
    static void findRecoveredPainting(FoundPainting found);
    // Removes the recovery in the folder at once. True when nothing of it is left.
    static bool removeRecoveredPainting(const QString& folder);
    // The same on the writing queue, after any write still queued.
    static void discardRecoveredPainting();

private:
    // A finished stroke as the stroke file holds it, packed once.
    struct PackedStroke {
        const Stroke* stroke { nullptr };
        int pointCount { 0 };
        StrokePoint first;
        __packedPoint last { 0, 0 };
        std::shared_ptr<const std::vector<uint8_t>> bytes;
        int32_t fileStrokes { 0 };
    };

    // Drops the packed strokes that no longer match the layer's list and
    // packs the strokes after them.
    static void updatePackedLayer(std::vector<PackedStroke>& packed, const std::vector<std::unique_ptr<Stroke>>& strokes);
    static bool isSameStroke(const PackedStroke& packed, const Stroke& stroke);

    QString m_folder;
    std::shared_ptr<RecoveryWriter> m_writer;
    std::weak_ptr<const Painting> m_painting;
    std::vector<std::vector<PackedStroke>> m_layers;
    uint64_t m_generation { 0 };
};
