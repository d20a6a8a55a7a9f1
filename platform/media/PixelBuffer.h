#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace platform {

// A video frame of 32-bit ARGB pixels: four bytes per pixel in the order alpha,
// red, green, blue, colour premultiplied by alpha. Rows may be padded, so code
// that walks the pixels must step by bytesPerRow(), never by width × 4.
//
// Header-only on purpose: the engine draws frames into it without linking the
// media library that encodes them.
class PixelBuffer final {
public:
    static constexpr int bytesPerPixel = 4;
    // The largest width or height accepted; the H.264 encoder takes no more.
    static constexpr int maximumDimension = 16384;

    // A buffer cleared to transparent black. Rows are padded to 64 bytes unless
    // a row length of at least width × 4 is given. Nothing when the size is
    // not positive, too large, or the memory cannot be had.
    static std::unique_ptr<PixelBuffer> create(int width, int height, int bytesPerRow = 0)
    {
        if (width <= 0 || height <= 0 || width > maximumDimension || height > maximumDimension)
            return nullptr;
        if (bytesPerRow == 0)
            bytesPerRow = (width * bytesPerPixel + 63) / 64 * 64;
        if (bytesPerRow < width * bytesPerPixel)
            return nullptr;
        const std::size_t size = static_cast<std::size_t>(bytesPerRow) * static_cast<std::size_t>(height);
        std::unique_ptr<uint8_t[]> memory(new (std::nothrow) uint8_t[size]());
        if (!memory)
            return nullptr;
        return std::unique_ptr<PixelBuffer>(new PixelBuffer(width, height, bytesPerRow, std::move(memory)));
    }

    int width() const { return m_width; }
    int height() const { return m_height; }
    int bytesPerRow() const { return m_bytesPerRow; }
    std::size_t byteCount() const { return static_cast<std::size_t>(m_bytesPerRow) * static_cast<std::size_t>(m_height); }

    uint8_t* data() { return m_memory.get(); }
    const uint8_t* data() const { return m_memory.get(); }
    // Row 0 is the first row in memory, the top of the picture.
    uint8_t* row(int y) { return data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_bytesPerRow); }
    const uint8_t* row(int y) const { return data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_bytesPerRow); }

private:
    PixelBuffer(int width, int height, int bytesPerRow, std::unique_ptr<uint8_t[]> memory)
        : m_width(width)
        , m_height(height)
        , m_bytesPerRow(bytesPerRow)
        , m_memory(std::move(memory))
    {
    }

    int m_width;
    int m_height;
    int m_bytesPerRow;
    std::unique_ptr<uint8_t[]> m_memory;
};

}
