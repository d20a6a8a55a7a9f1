#pragma once

#include <QIODevice>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

// A cursor over bytes that are read little-endian, either in memory or
// straight from a device. Every read checks what is left first, so a reader
// can never run past the end, and from a device it reads only the bytes it
// is asked for. A failed read leaves the cursor where it was.
class ByteReader final {
public:
    explicit ByteReader(std::span<const uint8_t> data)
        : m_data(data)
        , m_length(data.size())
    {
    }
    // Reads at most `length` bytes from the device's current position.
    ByteReader(QIODevice& device, size_t length)
        : m_device(&device)
        , m_length(length)
    {
    }

    size_t offset() const { return m_offset; }
    size_t remaining() const { return m_length - m_offset; }

    std::optional<int32_t> readInt32() { return readValue<int32_t>(); }
    std::optional<uint16_t> readUInt16() { return readValue<uint16_t>(); }
    std::optional<float> readFloat() { return readValue<float>(); }

    // The next `count` bytes, or nothing when fewer are left. Bytes read from
    // a device stay valid until the next read.
    std::optional<std::span<const uint8_t>> take(size_t count)
    {
        if (count > remaining())
            return std::nullopt;
        if (m_device) {
            m_buffer.resize(count);
            const auto wanted = static_cast<qint64>(count);
            if (m_device->read(reinterpret_cast<char*>(m_buffer.data()), wanted) != wanted) {
                // The device ended early (the file shrank): nothing more can be read.
                m_length = m_offset;
                return std::nullopt;
            }
            m_offset += count;
            return std::span<const uint8_t>(m_buffer);
        }
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
    QIODevice* m_device { nullptr };
    std::vector<uint8_t> m_buffer;
    size_t m_length { 0 };
    size_t m_offset { 0 };
};
