#pragma once

#include "Classes/model/StrokeFile.h"
#include "platform/graphics/Image.h"

#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace platform {
class DispatchQueue;
}

// One state of a painting as its recovery holds it: the stroke file's header
// and its strokes already packed, shared with the main thread's cache, and
// the background picture, which shares its pixels.
struct RecoveryState {
    struct LayerBlock {
        int32_t fileStrokes { 0 };
        std::vector<std::shared_ptr<const std::vector<uint8_t>>> strokes;
    };

    uint64_t generation { 0 };
    StrokeFileHeader header;
    std::vector<LayerBlock> layers;
    std::optional<platform::Image> background;
};

// The files of a recovery folder, written on the one recovery queue of the
// process. Only the newest state matters: one handed over while another is
// still waiting for the queue takes its place.
class RecoveryWriter final : public std::enable_shared_from_this<RecoveryWriter> {
public:
    // Runs on the queue once the folder holds the state of that generation
    // (0: the recovery was removed), or when that failed.
    using Observer = std::function<void(uint64_t generation, bool succeeded)>;

    explicit RecoveryWriter(QString folder);
    const QString& folder() const { return m_folder; }
    void setObserver(Observer observer);

    // Any thread; both return at once.
    void write(RecoveryState state);
    void remove();

    static platform::DispatchQueue& queue();
    static QString strokeFilePath(const QString& folder);
    // "background.png", or "background@2x.png" for a picture of scale 2.
    static QString backgroundPath(const QString& folder, bool retina);
    // Removes the recovery's files, the stroke file first, and the folder.
    // True when none of them is left.
    static bool removeFiles(const QString& folder);

private:
    // Nothing for a removal.
    void submit(std::optional<RecoveryState> state);
    void store(const RecoveryState& state);
    bool storeBackground(const std::optional<platform::Image>& background);
    void report(uint64_t generation, bool succeeded);

    const QString m_folder;
    std::mutex m_mutex;
    // Guarded by the mutex: the state the queue is still to take (an empty
    // optional inside for a removal), and whether a block of it will.
    std::optional<std::optional<RecoveryState>> m_pending;
    bool m_scheduled { false };
    Observer m_observer;
    // On the queue only: the picture on disk (0 for none); unknown at
    // first, since an earlier run may have left one.
    std::optional<qint64> m_writtenBackground;
};
