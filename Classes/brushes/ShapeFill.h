#pragma once

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/CoverageRasterizer.h"
#include "platform/graphics/GraphicsContext.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class QPainterPath;

// The fill of one shape stroke in each of its mirror copies, kept while the
// stroke grows, so that a step rasterises only the thin polygon it adds rather
// than the whole shape again.
//
// Every copy keeps the winding value of each pixel. The copies are painted in
// one colour, so painting them one over another lets through, at each pixel,
// the product of what each lets through; its logarithm, a sum, is kept per
// pixel and changed only where a copy's coverage changes. Painting all the
// copies then costs one blend per pixel whatever their number.
class ShapeFill final : public platform::CoverageSource {
public:
    ShapeFill();
    ~ShapeFill() override;
    ShapeFill(const ShapeFill&) = delete;
    ShapeFill& operator=(const ShapeFill&) = delete;

    // Brings the fill up to the path: one copy per transform (from the path's
    // coordinates to the context's pixels), each of opacity `alpha` (0 to 255).
    // With `grownFrom` at least 0, the path is the one of the last update, grown
    // after that element; otherwise, or when the context, the transforms or the
    // opacity differ from last time, the whole path is filled again. False when
    // the memory could not be had; nothing is kept then.
    bool update(const platform::GraphicsContext& context, const QPainterPath& path,
        std::span<const platform::AffineTransform> copies, uint8_t alpha, int grownFrom);
    // Forgets the fill; the next update fills the whole path.
    void forget();

    // The coverage of all the copies painted one over another.
    QRect bounds() const override;
    bool coverageRow(int y, int& x0, int& x1, uint8_t* out) const override;

private:
    // Columns of a row that hold values this stroke; first >= last when none do.
    struct Span {
        int first { 0 };
        int last { 0 };
    };
    struct Copy {
        platform::AffineTransform transform;
        std::unique_ptr<int32_t[]> winding;
        std::vector<Span> rows;
    };

    bool makeRoom(int width, int height, size_t copies);
    void clear();
    void setAlpha(uint8_t alpha);
    // Adds the swept values of one row to a copy's windings and the sum.
    void addRow(Copy& copy, int y, int x0, const int32_t* values, int count);
    // Makes the row's span reach [x0, x1), zeroing what it newly takes in.
    template<typename T>
    static void widen(Span& span, T* row, int x0, int x1);

    const platform::GraphicsContext* m_context { nullptr };
    int m_width { 0 };
    int m_height { 0 };
    uint8_t m_alpha { 0 };
    std::vector<Copy> m_copies;
    size_t m_copyCount { 0 };
    // Per pixel, the sum over the copies of the weight of each one's coverage.
    std::unique_ptr<uint32_t[]> m_sum;
    std::vector<Span> m_sumRows;
    int m_left { 0 }, m_top { 0 }, m_right { -1 }, m_bottom { -1 };
    // The weight of each coverage: minus the logarithm of what a copy of that
    // coverage lets through, in fixed point, capped where nothing gets through.
    uint32_t m_weights[256] {};
    platform::CoverageRasterizer m_rasterizer;
};
