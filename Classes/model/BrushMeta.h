#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "the records are stored in the host's byte order");

// The brush record carried by every recorded point and stored verbatim in the
// stroke file: 24 bytes, little-endian, bit fields from the least significant bit.
struct brush_meta {
    uint32_t type : 8;
    uint32_t hasAlpha : 1;
    uint32_t directionEnabled : 1;
    uint32_t space : 7;
    uint32_t hasJitter : 1;
    uint32_t hasRotation : 1;
    uint32_t mirrixMode : 4;
    uint32_t dummy1 : 9;
    float size;
    uint32_t neonSize : 8;
    uint32_t dummy2 : 24;
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t alpha;
    uint8_t secondColor[4];
    uint32_t randSeed;

    static constexpr size_t byteSize = 24;

    static brush_meta zero()
    {
        brush_meta meta;
        std::memset(&meta, 0, sizeof meta);
        return meta;
    }
    static brush_meta fromBytes(const uint8_t* bytes)
    {
        brush_meta meta;
        std::memcpy(&meta, bytes, byteSize);
        return meta;
    }
    void toBytes(uint8_t* bytes) const { std::memcpy(bytes, this, byteSize); }
    bool operator==(const brush_meta& other) const { return std::memcmp(this, &other, byteSize) == 0; }
};

static_assert(sizeof(brush_meta) == brush_meta::byteSize);

// A position as two signed 16-bit integers, x at the lower address.
struct __packedPoint {
    int16_t x;
    int16_t y;
    bool operator==(const __packedPoint&) const = default;
};

static_assert(sizeof(__packedPoint) == 4);
