#pragma once

#include "platform/graphics/GraphicsContext.h"

#include <memory>

namespace platform {

// How a bitmap context's 32-bit pixels sit in memory. Both are 8 bits per
// component with premultiplied alpha first.
enum class PixelLayout {
    // 32-bit little-endian words: bytes B, G, R, A. The canvas format.
    CanvasBGRA,
    // Big-endian words: bytes A, R, G, B. The video frame format.
    VideoARGB,
};

// A context that draws into memory the caller owns. It has no transform of its
// own and y grows upward: point (x, y) is pixel column x of the row that sits
// height − 1 − y rows from the start of memory.
class BitmapContext final : public GraphicsContext {
public:
    // Null when the geometry does not fit the memory's layout.
    static std::unique_ptr<BitmapContext> create(void* data, int width, int height, int bytesPerRow, PixelLayout layout);
    ~BitmapContext() override;

    void* data() const { return m_data; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    int bytesPerRow() const { return m_bytesPerRow; }
    PixelLayout layout() const { return m_layout; }

    // A copy of the current pixels, the first memory row on top.
    Image makeImage();
    // Brings the caller's memory up to date. Canvas-format contexts draw into it
    // directly; video-format contexts draw into a scratch copy and convert here.
    void flush();

private:
    BitmapContext(void* data, int width, int height, int bytesPerRow, PixelLayout layout, std::unique_ptr<QImage> target);

    void* m_data;
    int m_width;
    int m_height;
    int m_bytesPerRow;
    PixelLayout m_layout;
};

}
