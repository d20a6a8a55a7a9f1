#pragma once

#include "Classes/model/PaintingItem.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"

#include <QDateTime>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Painting;

// The list of saved paintings, built from the stroke files of the painting
// directory, and the saving of a painting in the background under a new name.
class PaintingManager final {
public:
    using ItemList = std::vector<std::shared_ptr<PaintingItem>>;
    // Runs on the main thread when a save has ended, with the new item, or
    // with null when the save failed and nothing was added.
    using SaveCompletion = std::function<void(std::shared_ptr<PaintingItem>)>;
    using Clock = std::function<QDateTime()>;

    PaintingManager();
    ~PaintingManager();
    PaintingManager(const PaintingManager&) = delete;
    PaintingManager& operator=(const PaintingManager&) = delete;

    void initPaintingManager();
    // Oldest stroke file first; pictures without a stroke file are no painting.
    void createPaintingListFromStoredFiles();

    // Returns at once and saves on the global queue. The painting must not be
    // drawn on or released until the completion has run. With no `info` (a
    // painting never saved) the new item joins the list. The selector is called
    // only when both it and the target are given.
    template <typename Target>
    void savePainting(Painting& painting, const PaintingItem* info, Target* target,
        void (Target::*selector)(std::shared_ptr<PaintingItem>))
    {
        SaveCompletion completion;
        if (target && selector)
            completion = [target, selector](std::shared_ptr<PaintingItem> item) { (target->*selector)(std::move(item)); };
        savePainting(painting, info, std::move(completion));
    }
    void savePainting(Painting& painting, const PaintingItem* info, SaveCompletion completion);

    // The time of day to the second, made unique with "-2", "-3"… when a
    // painting already has files under it; it also advances the counter.
    QString createNameForNewPainting();
    unsigned getNewPaintingIndex();
    QString getStringOfCurrentTime() const;
    // The clock that names paintings; local time unless a test sets one.
    void setClock(Clock clock) { m_clock = std::move(clock); }

    platform::Size thumbnailSize() const;
    std::optional<platform::Image> createThumbnail(const platform::Image& fullImage) const;

    // Deletes the painting's files. True when they went; an item whose files
    // could not all be deleted (a read-only folder) stays in the list.
    bool deletePainting(const PaintingItem& item);
    // The same for each item in order; true when every painting's files went.
    bool deletePaintings(const ItemList& items);

    // Removes the files that no saved painting owns, left by saves killed
    // before their stroke file was written. Call at start, before any save;
    // a painting being saved by another process is never touched. How many
    // files went.
    static int removeOrphanFiles();

    const ItemList& paintingList() const { return *m_paintingList; }
    unsigned createdPaintingNumber() const { return *m_createdPaintingNumber; }

private:
    // Shared with saves still running, so that a manager may go first.
    std::shared_ptr<ItemList> m_paintingList;
    std::shared_ptr<std::atomic<unsigned>> m_createdPaintingNumber;
    Clock m_clock;
};
