#include "Classes/model/LayerCanvas.h"

#include "platform/graphics/Image.h"

#include <QImage>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

using platform::BitmapContext;
using platform::Image;
using platform::Rect;

namespace {

// The whole pixels of `region` that lie on a canvas, as column and context-row
// ranges; empty when there are none.
struct PixelSpan {
    int x0 { 0 }, x1 { 0 }, y0 { 0 }, y1 { 0 };
    bool isEmpty() const { return x0 >= x1 || y0 >= y1; }
};

PixelSpan pixelSpan(const Rect& region, int width, int height)
{
    if (region.isNull())
        return {};
    Rect r = region.standardized().integral().intersected(Rect(0, 0, static_cast<float>(width), static_cast<float>(height)));
    if (r.isNull())
        return {};
    return { static_cast<int>(r.minX()), static_cast<int>(r.maxX()), static_cast<int>(r.minY()), static_cast<int>(r.maxY()) };
}

bool sameGeometry(const BitmapContext& a, const BitmapContext& b)
{
    return a.width() == b.width() && a.height() == b.height() && a.layout() == b.layout()
        && a.layout() == platform::PixelLayout::CanvasBGRA;
}

}

void copyCanvasRegion(BitmapContext& from, BitmapContext& to, const Rect& region)
{
    if (&from == &to)
        return;
    if (!sameGeometry(from, to)) {
        to.saveGState();
        to.clipToRect(region);
        to.setBlendMode(platform::BlendMode::Copy);
        to.drawImage(Rect(0, 0, static_cast<float>(to.width()), static_cast<float>(to.height())), from.makeImage());
        to.restoreGState();
        return;
    }
    // Row by row, as the copy-mode draw would leave it.
    PixelSpan span = pixelSpan(region, from.width(), from.height());
    if (span.isEmpty())
        return;
    const auto* source = static_cast<const uint8_t*>(from.data());
    auto* dest = static_cast<uint8_t*>(to.data());
    const size_t rowBytes = static_cast<size_t>(span.x1 - span.x0) * 4;
    // Context row y sits at memory row height − 1 − y.
    for (int row = from.height() - span.y1; row < from.height() - span.y0; ++row) {
        size_t sourceOffset = static_cast<size_t>(row) * from.bytesPerRow() + static_cast<size_t>(span.x0) * 4;
        size_t destOffset = static_cast<size_t>(row) * to.bytesPerRow() + static_cast<size_t>(span.x0) * 4;
        std::memcpy(dest + destOffset, source + sourceOffset, rowBytes);
    }
}

void LayerCanvas::drawUpright(platform::GraphicsContext& into, const Rect& rect) const
{
    // A read-only view of the memory: nothing is copied, and it lives only for this draw.
    QImage view(static_cast<const uchar*>(memory.get()), context->width(), context->height(), context->bytesPerRow(),
        QImage::Format_ARGB32_Premultiplied);
    into.drawImage(rect, Image(view));
}

std::optional<LayerCanvas> createLayerCanvasWithSize(float width, float height)
{
    // No pixels, no canvas; that is not a shortage of memory.
    if (!(width >= 1 && height >= 1))
        return std::nullopt;
    // Sizes the platform cannot address count as memory that could not be had.
    const double rowBytes = std::trunc(static_cast<double>(width)) * 4;
    const double totalBytes = std::trunc(rowBytes * static_cast<double>(height));
    std::unique_ptr<uint8_t[]> memory;
    if (rowBytes <= std::numeric_limits<int>::max()
        && totalBytes <= static_cast<double>(std::numeric_limits<std::ptrdiff_t>::max()))
        memory.reset(new (std::nothrow) uint8_t[static_cast<size_t>(totalBytes)]);
    if (!memory) {
        std::fputs("Memory not allocated!", stderr);
        return std::nullopt;
    }
    auto context = BitmapContext::create(memory.get(), static_cast<int>(width), static_cast<int>(height),
        static_cast<int>(rowBytes), platform::PixelLayout::CanvasBGRA);
    if (!context)
        return std::nullopt;
    context->clearRect(Rect(0, 0, width, height));
    return LayerCanvas { std::move(memory), std::move(context) };
}
