#pragma once

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Geometry.h"

#include <array>
#include <cstdint>
#include <span>

// The list of transforms a mirror mode repeats every stroke segment with, all
// built about one origin (the canvas centre). Entry 0 is always the identity.
class Mirrix final {
public:
    static constexpr int capacity = 18;

    Mirrix();

    // Appends the transforms of the mode. Meant to be called once on a fresh
    // object; appends beyond the fixed capacity are dropped.
    void setMode(int32_t mode, platform::Point origion);

    int32_t mode() const { return m_mode; }
    // The valid transforms, in drawing order.
    std::span<const platform::AffineTransform> getMatrix() const
    {
        return std::span<const platform::AffineTransform>(m_matrix.data(), static_cast<size_t>(m_matrixNumber));
    }
    int32_t matrixNumber() const { return m_matrixNumber; }

    // Reflection across the vertical line x = origin.x.
    platform::AffineTransform addHorizonMirror(platform::Point origion);
    // Reflection across the horizontal line y = origin.y.
    platform::AffineTransform addVerticalMirror(platform::Point origion);
    // The 2n - 1 rotations and mirrored rotations of order n; returns the last one.
    platform::AffineTransform addMirrix(int32_t n, platform::Point origion);
    // The n - 1 plain rotations of order n; returns the last one.
    platform::AffineTransform addFan(int32_t n, platform::Point origion);

    static double radians(double degrees);
    static platform::AffineTransform getIdentify() { return platform::AffineTransform::identity(); }

private:
    void append(const platform::AffineTransform& transform);
    static platform::AffineTransform rotationAbout(platform::Point origion, int32_t degrees, bool mirrored);

    int32_t m_mode { 0 };
    std::array<platform::AffineTransform, capacity> m_matrix {};
    int32_t m_matrixNumber { 1 };
};
