#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

// A cursor over bytes that are read little-endian. Every read checks what is
// left first, so a reader can never run past the end; a failed read leaves
// the cursor where it was.
class ByteReader final {
public:
    explicit ByteReader(std::span<const uint8_t> data)
        : m_data(data)
    {
    }

    size_t offset() const { return m_offset; }
    size_t remaining() const { return m_data.size() - m_offset; }

    std::optional<int32_t> readInt32() { return readValue<int32_t>(); }
    std::optional<uint16_t> readUInt16() { return readValue<uint16_t>(); }
    std::optional<float> readFloat() { return readValue<float>(); }

    // The next `count` bytes, or nothing when fewer are left.
    std::optional<std::span<const uint8_t>> take(size_t count)
    {
        if (count > remaining())
            return std::nullopt;
        auto bytes = m_data.subspan(m_offset, count);
        m_offset += count;
        return bytes;
    }

private:
    template <typename T>
    std::optional<T> readValue()
    {
        auto bytes = take(sizeof(T));
        if (!bytes)
            return std::nullopt;
        T value;
        std::memcpy(&value, bytes->data(), sizeof(T));
        return value;
    }

    std::span<const uint8_t> m_data;
    size_t m_offset { 0 };
};
