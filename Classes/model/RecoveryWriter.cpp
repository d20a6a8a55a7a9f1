#include "Classes/model/RecoveryWriter.h"

#include "Classes/model/PaintingFile.h"
#include "platform/system/DispatchQueue.h"

#include <QDir>
#include <QFile>
#include <sys/resource.h>
#include <unistd.h>

using platform::DispatchQueue;
using platform::Image;

namespace {

bool removeIfThere(const QString& path)
{
    return !QFile::exists(path) || QFile::remove(path);
}

}

RecoveryWriter::RecoveryWriter(QString folder)
    : m_folder(std::move(folder))
{
}

DispatchQueue& RecoveryWriter::queue()
{
    // One queue for every recovery of the process, so that a removal asked
    // for at start and the editor's writes keep their order.
    static const std::shared_ptr<DispatchQueue> queue = [] {
        auto serial = DispatchQueue::createSerial("recoveryQueue");
        // The writer gives way to the window: on a busy machine a write must
        // not take the time slice of the finger that is drawing.
        serial->async([] { ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10); });
        return serial;
    }();
    return *queue;
}

QString RecoveryWriter::strokeFilePath(const QString& folder)
{
    return folder + QStringLiteral("/painting.stk");
}

QString RecoveryWriter::backgroundPath(const QString& folder, bool retina)
{
    return folder + QLatin1Char('/') + paintingImageFileName(QStringLiteral("background"), QString(), retina);
}

bool RecoveryWriter::removeFiles(const QString& folder)
{
    if (folder.isEmpty())
        return true;
    // The stroke file first: without it nothing is offered, whatever is left.
    bool removed = removeIfThere(strokeFilePath(folder));
    for (bool retina : { false, true })
        removed = removeIfThere(backgroundPath(folder, retina)) && removed;
    QDir().rmdir(folder);
    return removed;
}

void RecoveryWriter::setObserver(Observer observer)
{
    std::lock_guard lock(m_mutex);
    m_observer = std::move(observer);
}

void RecoveryWriter::write(RecoveryState state)
{
    submit(std::move(state));
}

void RecoveryWriter::remove()
{
    submit(std::nullopt);
}

void RecoveryWriter::submit(std::optional<RecoveryState> state)
{
    {
        std::lock_guard lock(m_mutex);
        m_pending = std::move(state);
        if (m_scheduled)
            return;
        m_scheduled = true;
    }
    queue().async([self = shared_from_this()] {
        for (;;) {
            std::optional<std::optional<RecoveryState>> next;
            {
                std::lock_guard lock(self->m_mutex);
                if (!self->m_pending) {
                    self->m_scheduled = false;
                    return;
                }
                next.swap(self->m_pending);
            }
            if (*next) {
                self->store(**next);
            } else {
                const bool removed = removeFiles(self->m_folder);
                self->m_writtenBackground = removed ? std::optional<qint64>(0) : std::nullopt;
                self->report(0, removed);
            }
        }
    });
}

void RecoveryWriter::store(const RecoveryState& state)
{
    // The folder's parent is the Documents folder's; when that has gone, so
    // has the painting's place, and nothing is made up anew.
    if ((!QDir(m_folder).exists() && !QDir().mkdir(m_folder)) || !storeBackground(state.background)) {
        report(state.generation, false);
        return;
    }
    std::vector<uint8_t> bytes;
    size_t size = StrokeFileHeader::byteSize;
    for (const auto& layer : state.layers) {
        size += strokefile::layerHeaderSize;
        for (const auto& stroke : layer.strokes)
            size += stroke->size();
    }
    bytes.reserve(size);
    appendStrokeFileHeader(bytes, state.header);
    for (const auto& layer : state.layers) {
        // A layer block as the stroke file has it: reserved 0, the count, the strokes.
        const int32_t fields[2] = { 0, layer.fileStrokes };
        const auto* fieldBytes = reinterpret_cast<const uint8_t*>(fields);
        bytes.insert(bytes.end(), fieldBytes, fieldBytes + sizeof fields);
        for (const auto& stroke : layer.strokes)
            bytes.insert(bytes.end(), stroke->begin(), stroke->end());
    }
    report(state.generation, storeBytesAtomically(strokeFilePath(m_folder), bytes));
}

bool RecoveryWriter::storeBackground(const std::optional<Image>& background)
{
    const bool hasPicture = background && !background->isNull();
    const qint64 key = hasPicture ? background->qimage().cacheKey() : 0;
    const bool retina = hasPicture && background->scale() >= 2;
    // Written once; again only when it changed or went (removed by the
    // question at start, say).
    if (m_writtenBackground == key && (!hasPicture || QFile::exists(backgroundPath(m_folder, retina))))
        return true;
    // The stroke file goes first: for a moment there is no recovery rather
    // than one whose strokes lie on another painting's picture.
    if (!removeIfThere(strokeFilePath(m_folder)))
        return false;
    bool stored = removeIfThere(backgroundPath(m_folder, !retina));
    stored = stored
        && (hasPicture ? storeImage(*background, backgroundPath(m_folder, retina)) : removeIfThere(backgroundPath(m_folder, retina)));
    m_writtenBackground = stored ? std::optional<qint64>(key) : std::nullopt;
    return stored;
}

void RecoveryWriter::report(uint64_t generation, bool succeeded)
{
    Observer observer;
    {
        std::lock_guard lock(m_mutex);
        observer = m_observer;
    }
    if (observer)
        observer(generation, succeeded);
}
