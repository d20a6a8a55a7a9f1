#include "Classes/model/PaintingManager.h"

#include "Classes/brushes/Brush.h"
#include "Classes/gallery/ImageUtility.h"
#include "Classes/gallery/ThumbnailLayout.h"
#include "Classes/gallery/Utility.h"
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingFile.h"
#include "platform/graphics/ImageContext.h"
#include "platform/system/Device.h"
#include "platform/system/DispatchQueue.h"

#include <QDir>
#include <QDirIterator>
#include <algorithm>
#include <mutex>
#include <set>

using platform::Color;
using platform::Image;
using platform::Rect;

namespace {

// Names chosen by saves still writing. Their files may not be on disk yet, so
// the directory alone cannot tell that they are taken.
std::mutex namingMutex;
std::set<QString> namesBeingSaved;
// One save at a time: two saves of the same painting started back to back
// would otherwise read and write it at once.
std::mutex savingMutex;

// Call with namingMutex held. A name is taken when a save is writing under it
// or any file carries it: "N.stk", "N.png", "N@2x.png", "N_thumb.png"…, but
// not "N-2.stk", which belongs to another painting.
QString uniqueName(const QString& stem)
{
    QStringList existing;
    if (auto directory = getPaintingDirectoryPath())
        existing = QDir(*directory).entryList({ stem + QStringLiteral("*") }, QDir::AllEntries | QDir::System | QDir::Hidden);
    auto isTaken = [&](const QString& name) {
        if (namesBeingSaved.count(name))
            return true;
        return std::any_of(existing.begin(), existing.end(), [&](const QString& file) {
            if (file.size() <= name.size() || !file.startsWith(name))
                return false;
            const QChar next = file.at(name.size());
            return next == QLatin1Char('.') || next == QLatin1Char('_') || next == QLatin1Char('@');
        });
    };
    QString name = stem;
    for (int suffix = 2; isTaken(name); ++suffix)
        name = stem + QStringLiteral("-%1").arg(suffix);
    return name;
}

unsigned advanceIndexCounter()
{
    const unsigned index = loadGlobalUniqueImageIndex() + 1;
    storeGlobalUniqueImageIndex(index);
    return index;
}

platform::Size thumbnailSquare()
{
    const float side = static_cast<float>(getThumbnailWidth(platform::Device::mainScreenBounds()));
    return { side, side };
}

// The picture fitted into the gallery's square; on a tablet it sits on a white
// card with a soft shadow and a light frame. Safe on any thread.
std::optional<Image> makeThumbnail(const Image& fullImage)
{
    const float t = thumbnailSquare().width;
    auto fitted = cropImage(fullImage, t, t, 1, Color::rgba(0.5f, 0.5f, 0.5f, 1), true);
    if (!fitted || isiPhone())
        return fitted;
    const float shadow = static_cast<float>(getThumbnailShadowWidth());
    const float border = static_cast<float>(getThumbnailBorderWidth());
    platform::ImageContext context({ t, t }, false, platform::Device::mainScreenScale());
    const float a = shadow + 0.5f;
    const Rect frame(a, a, t - 2 * a, t - 2 * a);
    context.saveGState();
    context.setShadow({ 0, 0 }, 4.0f);
    context.setFillColor(Color::white());
    context.fillRect(frame);
    context.restoreGState();
    context.setLineWidth(1.0f);
    context.setStrokeColor(Color::rgba(0.8f, 0.8f, 0.8f, 1.0f));
    context.strokeRect(frame);
    const float n = border + shadow;
    context.drawImageTopLeft(Rect(n, n, t - 2 * n, t - 2 * n), *fitted);
    return context.image();
}

}

PaintingManager::PaintingManager()
    : m_paintingList(std::make_shared<ItemList>())
    , m_createdPaintingNumber(std::make_shared<std::atomic<unsigned>>(0))
    , m_clock([] { return QDateTime::currentDateTime(); })
{
}

PaintingManager::~PaintingManager() = default;

void PaintingManager::initPaintingManager()
{
    createPaintingListFromStoredFiles();
    *m_createdPaintingNumber = 0;
}

void PaintingManager::createPaintingListFromStoredFiles()
{
    ItemList items;
    if (auto directory = getPaintingDirectoryPath()) {
        const QDir root(*directory);
        QDirIterator walk(*directory, { QStringLiteral("*.stk") }, QDir::Files, QDirIterator::Subdirectories);
        while (walk.hasNext()) {
            const QFileInfo info(walk.next());
            if (info.suffix() != QLatin1String("stk"))
                continue;
            auto item = std::make_shared<PaintingItem>();
            QString name = root.relativeFilePath(info.filePath());
            name.chop(4);
            item->setPaintingName(name);
            const QDateTime date = info.lastModified();
            if (date.isValid())
                item->setModificationDate(date);
            items.push_back(std::move(item));
        }
    }
    std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) {
        const QDateTime dateA = a->modificationDate().value_or(QDateTime());
        const QDateTime dateB = b->modificationDate().value_or(QDateTime());
        if (dateA != dateB)
            return dateA < dateB;
        return a->paintingName() < b->paintingName();
    });
    *m_paintingList = std::move(items);
}

void PaintingManager::savePainting(Painting& painting, const PaintingItem* info, SaveCompletion completion)
{
    const bool isNewPainting = info == nullptr;
    std::optional<Image> fullImage = painting.paintingImage();
    const QString stem = getStringOfCurrentTime();
    platform::DispatchQueue::global().async([&painting, isNewPainting, fullImage = std::move(fullImage), stem,
                                                list = m_paintingList, counter = m_createdPaintingNumber,
                                                completion = std::move(completion)]() mutable {
        std::unique_lock saving(savingMutex);
        auto item = std::make_shared<PaintingItem>();
        {
            std::lock_guard lock(namingMutex);
            *counter = advanceIndexCounter();
            item->setPaintingName(uniqueName(stem));
            namesBeingSaved.insert(item->paintingName());
        }
        item->setFullSizeImage(fullImage);
        if (fullImage)
            item->setThumbnailImage(makeThumbnail(*fullImage));
        item->setIsModified(false);
        painting.setThumbnailImage(item->thumbnailImage());

        const bool saved = storePainting(item->paintingName(), painting);
        if (!saved)
            removePainting(item->paintingName());
        {
            std::lock_guard lock(namingMutex);
            namesBeingSaved.erase(item->paintingName());
        }
        saving.unlock();
        // The list is only ever touched on the main thread.
        platform::DispatchQueue::mainQueue().async(
            [saved, isNewPainting, item, list = std::move(list), completion = std::move(completion)] {
                if (saved && isNewPainting)
                    list->push_back(item);
                if (completion)
                    completion(saved ? item : nullptr);
            });
    });
}

QString PaintingManager::createNameForNewPainting()
{
    std::lock_guard lock(namingMutex);
    *m_createdPaintingNumber = advanceIndexCounter();
    return uniqueName(getStringOfCurrentTime());
}

unsigned PaintingManager::getNewPaintingIndex()
{
    std::lock_guard lock(namingMutex);
    *m_createdPaintingNumber = advanceIndexCounter();
    return *m_createdPaintingNumber;
}

QString PaintingManager::getStringOfCurrentTime() const
{
    return m_clock().toString(QStringLiteral("yyyy-MM-dd-HH-mm-ss"));
}

platform::Size PaintingManager::thumbnailSize() const
{
    return thumbnailSquare();
}

std::optional<Image> PaintingManager::createThumbnail(const Image& fullImage) const
{
    return makeThumbnail(fullImage);
}

bool PaintingManager::deletePainting(const PaintingItem& item)
{
    const QString name = item.paintingName();
    if (!removePainting(name))
        return false;
    std::erase_if(*m_paintingList, [&](const auto& entry) { return entry->paintingName() == name; });
    return true;
}

bool PaintingManager::deletePaintings(const ItemList& items)
{
    // A copy, since the list given may be this manager's own.
    const ItemList toDelete = items;
    bool deletedAll = true;
    for (const auto& item : toDelete)
        deletedAll = deletePainting(*item) && deletedAll;
    return deletedAll;
}

int PaintingManager::removeOrphanFiles()
{
    return removeOrphanPaintingFiles().value_or(0);
}
