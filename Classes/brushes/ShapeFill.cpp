#include "Classes/brushes/ShapeFill.h"

#include "platform/graphics/VectorState.h"

#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <new>

using platform::AffineTransform;
using platform::CoverageRasterizer;

namespace {

// Weights are logarithms in units of 1/4096.
constexpr double weightScale = 4096;
// From this weight on a pixel lets through less than half a level in 255:
// it is wholly painted.
const uint32_t opaqueWeight = static_cast<uint32_t>(std::ceil(weightScale * std::log(510.0)));

// The coverage of a pixel whose weights add up to `sum`.
uint8_t coverageOfSum(uint32_t sum)
{
    static const std::vector<uint8_t> table = [] {
        std::vector<uint8_t> coverage(opaqueWeight);
        for (uint32_t s = 0; s < opaqueWeight; ++s)
            coverage[s] = static_cast<uint8_t>(std::lround(-255 * std::expm1(-static_cast<double>(s) / weightScale)));
        return coverage;
    }();
    return sum < opaqueWeight ? table[sum] : 255;
}

}

ShapeFill::ShapeFill() = default;
ShapeFill::~ShapeFill() = default;

void ShapeFill::setAlpha(uint8_t alpha)
{
    m_alpha = alpha;
    for (int c = 0; c < 256; ++c) {
        const int product = alpha * c;
        const double opacity = product / (255.0 * 255.0);
        m_weights[c] = product == 255 * 255
            ? opaqueWeight
            : std::min(opaqueWeight, static_cast<uint32_t>(std::lround(-weightScale * std::log1p(-opacity))));
    }
}

bool ShapeFill::makeRoom(int width, int height, size_t copies)
{
    if (width != m_width || height != m_height) {
        m_copies.clear();
        m_sum.reset();
        m_width = width;
        m_height = height;
    }
    const size_t pixels = static_cast<size_t>(width) * height;
    // Memory that is never touched costs nothing, and what a stroke touches is
    // zeroed as it reaches it.
    if (!m_sum) {
        m_sum.reset(new (std::nothrow) uint32_t[pixels]);
        m_sumRows.assign(static_cast<size_t>(height), Span {});
    }
    while (m_sum && m_copies.size() < copies) {
        Copy copy;
        copy.winding.reset(new (std::nothrow) int32_t[pixels]);
        if (!copy.winding)
            break;
        copy.rows.assign(static_cast<size_t>(height), Span {});
        m_copies.push_back(std::move(copy));
    }
    if (!m_sum || m_copies.size() < copies) {
        m_copies.clear();
        m_sum.reset();
        m_width = m_height = 0;
        m_context = nullptr;
        return false;
    }
    return true;
}

void ShapeFill::clear()
{
    for (Copy& copy : m_copies)
        std::fill(copy.rows.begin(), copy.rows.end(), Span {});
    std::fill(m_sumRows.begin(), m_sumRows.end(), Span {});
    m_left = m_top = 0;
    m_right = m_bottom = -1;
}

void ShapeFill::forget()
{
    m_context = nullptr;
}

bool ShapeFill::update(const platform::GraphicsContext& context, const QPainterPath& path,
    std::span<const AffineTransform> copies, uint8_t alpha, int grownFrom)
{
    platform::clearUpperVectorState();
    const int width = context.pixelWidth();
    const int height = context.pixelHeight();
    bool grows = grownFrom >= 0 && m_context == &context && width == m_width && height == m_height
        && alpha == m_alpha && copies.size() == m_copyCount;
    for (size_t i = 0; grows && i < copies.size(); ++i)
        grows = m_copies[i].transform == copies[i];
    if (!makeRoom(width, height, copies.size()))
        return false;
    if (!grows) {
        clear();
        setAlpha(alpha);
        m_context = &context;
        m_copyCount = copies.size();
        for (size_t i = 0; i < copies.size(); ++i)
            m_copies[i].transform = copies[i];
    }
    m_rasterizer.reset(width, height);
    for (size_t i = 0; i < copies.size(); ++i) {
        if (!grows || !m_rasterizer.addPathGrowth(path, copies[i], grownFrom)) {
            if (grows) {
                // A path that does not simply grow is filled again from nothing.
                return update(context, path, copies, alpha, -1);
            }
            m_rasterizer.addPath(path, copies[i]);
        }
        Copy& copy = m_copies[i];
        m_rasterizer.sweep(
            [&](int y, int x0, const int32_t* values, int count) { addRow(copy, y, x0, values, count); });
    }
    return true;
}

template<typename T>
void ShapeFill::widen(Span& span, T* row, int x0, int x1)
{
    if (span.first >= span.last) {
        std::fill(row + x0, row + x1, T {});
        span = { x0, x1 };
        return;
    }
    if (x0 < span.first) {
        std::fill(row + x0, row + span.first, T {});
        span.first = x0;
    }
    if (x1 > span.last) {
        std::fill(row + span.last, row + x1, T {});
        span.last = x1;
    }
}

void ShapeFill::addRow(Copy& copy, int y, int x0, const int32_t* values, int count)
{
    const size_t offset = static_cast<size_t>(y) * m_width;
    int32_t* winding = copy.winding.get() + offset;
    uint32_t* sum = m_sum.get() + offset;
    widen(copy.rows[static_cast<size_t>(y)], winding, x0, x0 + count);
    widen(m_sumRows[static_cast<size_t>(y)], sum, x0, x0 + count);
    if (m_right < m_left) {
        m_left = x0;
        m_right = x0 + count - 1;
        m_top = m_bottom = y;
    } else {
        m_left = std::min(m_left, x0);
        m_right = std::max(m_right, x0 + count - 1);
        m_top = std::min(m_top, y);
        m_bottom = std::max(m_bottom, y);
    }
    // The next row's values most likely fall below these; fetching them now
    // hides the wait for memory that the scattered rows would cost.
    if (y + 1 < m_height) {
        for (int i = 0; i < count; i += 16) {
            __builtin_prefetch(winding + m_width + x0 + i, 1);
            __builtin_prefetch(sum + m_width + x0 + i, 1);
        }
    }
    for (int i = 0; i < count; ++i) {
        const int32_t value = values[i];
        if (!value)
            continue;
        int32_t& w = winding[x0 + i];
        const uint8_t before = CoverageRasterizer::coverage(w);
        w += value;
        const uint8_t after = CoverageRasterizer::coverage(w);
        // Unsigned arithmetic: the sum comes out right whatever the order.
        if (before != after)
            sum[x0 + i] += m_weights[after] - m_weights[before];
    }
}

QRect ShapeFill::bounds() const
{
    if (!m_context || m_right < m_left)
        return {};
    return QRect(QPoint(m_left, m_top), QPoint(m_right, m_bottom));
}

bool ShapeFill::coverageRow(int y, int& x0, int& x1, uint8_t* out) const
{
    if (!m_context || y < 0 || y >= m_height)
        return false;
    const Span& span = m_sumRows[static_cast<size_t>(y)];
    x0 = std::max(x0, span.first);
    x1 = std::min(x1, span.last);
    if (x0 >= x1)
        return false;
    const uint32_t* sum = m_sum.get() + static_cast<size_t>(y) * m_width;
    for (int x = x0; x < x1; ++x)
        out[x - x0] = coverageOfSum(sum[x]);
    return true;
}
