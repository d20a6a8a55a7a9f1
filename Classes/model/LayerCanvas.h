#pragma once

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Geometry.h"

#include <cstdint>
#include <memory>
#include <optional>

// A canvas in the canvas format (premultiplied BGRA words, y growing upward, so
// the first memory row is the painting's bottom edge) and the memory under it.
struct LayerCanvas {
    // Declared before the context so that it outlives it.
    std::unique_ptr<uint8_t[]> memory;
    std::unique_ptr<platform::BitmapContext> context;

    int width() const { return context->width(); }
    int height() const { return context->height(); }
    // Draws the canvas upright into a top-left-origin context over `rect`,
    // without copying its pixels.
    void drawUpright(platform::GraphicsContext& into, const platform::Rect& rect) const;
};

// A transparent canvas of the integer parts of the size, or nothing when its
// memory cannot be had ("Memory not allocated!" on the error stream) or the
// context cannot be made.
std::optional<LayerCanvas> createLayerCanvasWithSize(float width, float height);

// Copies the pixels of `region` from one canvas to another, replacing the
// destination's, alpha included: a copy-mode draw clipped to the region.
void copyCanvasRegion(platform::BitmapContext& from, platform::BitmapContext& to, const platform::Rect& region);
