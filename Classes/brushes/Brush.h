#pragma once

#include "Classes/model/BrushMeta.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Path.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

class Mirrix;
class PatternManager;

namespace platform {
class GraphicsContext;
}

// The base of every brush. It smooths touch points into quadratic segments
// through the midpoints, draws each segment once per mirror transform, keeps the
// brush record that every recorded point copies, and reports changed rectangles.
// Subclasses decide how a segment looks and how the record changes per point.
class Brush {
public:
    static constexpr int modeSolidColor = 33;
    static constexpr int modeRandomColor = 17;

    // A new brush of the given type, or null when no brush has that type.
    static std::unique_ptr<Brush> createBrush(int type, std::shared_ptr<PatternManager> patternMgr);
    // A process-wide brush of the type, used only for its per-point packing hooks.
    // Types without a brush give a brush whose per-point data is empty.
    static const Brush& packingBrush(int type);

    Brush();
    virtual ~Brush();
    Brush(const Brush&) = delete;
    Brush& operator=(const Brush&) = delete;

    // Colour and size.
    virtual void setColor(const platform::Color& color);
    void setMode(int mode);
    int mode() const { return m_mode; }
    void setIsRandomColor(bool random) { m_isRandomColor = random; }
    bool isRandomColor() const { return m_isRandomColor; }
    bool isRandomWidth() const { return m_isRandomWidth; }
    virtual void setSize(float size);
    void clampSize();
    float clampSize(float size) const;
    virtual void setSizeBound() { }
    float randRange(float min, float max) const;

    // Record exchange with the stroke.
    const brush_meta& brushData() const { return m_brushData; }
    void setBrushData(const brush_meta& data) { m_brushData = data; }
    virtual void prepareBrush() { }
    virtual void updateBrush() { }
    virtual void reinitBrush(const brush_meta& data) { setBrushData(data); }
    virtual void restoreBrush(const brush_meta& data) { setBrushData(data); }
    virtual int getBrushMetaPackLength() const { return 0; }
    // The per-point part of the record; empty when the brush keeps none.
    virtual std::vector<uint8_t> packBrushMetaData(const brush_meta&) const { return {}; }
    virtual void unpackBrushMeta(brush_meta&, std::span<const uint8_t>) const { }
    virtual void endStroke() { }
    virtual void setBrush(platform::GraphicsContext&) { }

    // Drawing, in canvas coordinates.
    virtual void strokeFrom(platform::GraphicsContext& context, platform::Point p);
    virtual platform::Rect strokeTo(platform::GraphicsContext& context, platform::Point p);
    virtual platform::Rect strokeEnd(platform::GraphicsContext& context, platform::Point p);
    virtual platform::Rect drawSubStroke(platform::GraphicsContext& context);
    virtual platform::Rect drawStroke(platform::GraphicsContext& context, const platform::Path& path);
    virtual platform::Rect drawStroke(platform::GraphicsContext& context, platform::Point startPoint,
        platform::Point controlPoint, platform::Point endPoint);

    // The record keeps colours as bytes: each component × 255, truncated.
    static uint8_t colorByte(float component) { return static_cast<uint8_t>(static_cast<unsigned>(component * 255.0)); }
    // The record's colour as floats, byte / 255, with the opacity given.
    static platform::Color colorOfRecord(const brush_meta& data, float alpha);
    platform::Color recordColor(float alpha) const { return colorOfRecord(m_brushData, alpha); }
    // Stores a colour's red, green and blue bytes in the record.
    void setRecordColor(const platform::Color& color);

    // The antialiased line with round caps and joins that the line brushes use.
    static void setRoundLine(platform::GraphicsContext& context, float width, const platform::Color& strokeColor);
    // Strokes the path with this brush's line state, leaving the context's state as it was.
    void strokeWithBrush(platform::GraphicsContext& context, const platform::Path& path);

    // Dirty rectangles in whole points, the low sides clamped at zero.
    platform::Rect updateDirtyRect(const platform::Path& path, float extendWidth);
    platform::Rect getDirtyRect(const platform::Path& path, float extendWidth) const;
    const platform::Rect& dirtyRect() const { return m_dirtyRect; }
    void setDirtyRect(const platform::Rect& r) { m_dirtyRect = r; }
    // The rectangles the last step changed, one per mirror copy that drew
    // something; their union is the step's rectangle.
    const std::vector<platform::Rect>& copyRects() const { return m_copyRects; }

    // Mirror mode: the low four bits go into the record.
    void setMirrix(int mode, platform::Point origion);
    const std::shared_ptr<Mirrix>& mirrix() const { return m_mirrix; }

    int type() const { return m_type; }
    const std::string& name() const { return m_name; }
    float maxSize() const { return m_maxSize; }
    float minSize() const { return m_minSize; }
    const std::optional<platform::Color>& brushColor() const { return m_brushColor; }
    const std::shared_ptr<PatternManager>& patternManager() const { return m_patternManager; }
    void setPatternManager(std::shared_ptr<PatternManager> manager) { m_patternManager = std::move(manager); }
    bool mMustRedrawWholeStrokePath() const { return m_mustRedrawWholeStrokePath; }
    // For brushes that redraw the whole stroke path: a convex area (the hull of
    // `corners`, before the mirror transforms, grown by `margin`) outside which
    // the next step, to `p`, leaves the drawing as it was. Nothing when the
    // brush cannot tell; the whole stroke is then drawn again.
    struct StepArea {
        std::array<platform::Point, 4> corners;
        float margin;
    };
    virtual std::optional<StepArea> wholePathStepArea(platform::Point, bool) const { return std::nullopt; }
    int renderType() const { return m_renderType; }
    bool isHasAlpha() const { return m_isHasAlpha; }
    const platform::Path* strokePath() const { return m_hasStrokePath ? &m_strokePath : nullptr; }

protected:
    // The stroke's first point and the next step's segment: start, control, end.
    std::array<platform::Point, 4> nextStepCorners(platform::Point p, bool isLast) const;
    void addCopyRect(const platform::Rect& r)
    {
        if (!r.isNull())
            m_copyRects.push_back(r);
    }

    int m_type { 0 };
    std::string m_name;
    float m_maxSize { 0 };
    float m_minSize { 0 };
    std::optional<platform::Color> m_brushColor;
    bool m_isHasAlpha { false };
    int m_mode { 0 };
    std::shared_ptr<PatternManager> m_patternManager;
    bool m_mustRedrawWholeStrokePath { false };
    bool m_isRandomColor { true };
    bool m_isRandomWidth { true };
    brush_meta m_brushData = brush_meta::zero();
    platform::Rect m_dirtyRect = platform::Rect::null();
    int m_renderType { 48 };
    platform::Point m_prevPoint;
    platform::Point m_startPoint;
    platform::Point m_controlPoint;
    platform::Point m_endPoint;
    // The path is reused between segments to keep allocation off the touch path.
    platform::Path m_strokePath;
    bool m_hasStrokePath { false };
    std::shared_ptr<Mirrix> m_mirrix;
    // Room for every mirror copy is reserved up front, so steps do not allocate.
    std::vector<platform::Rect> m_copyRects;
};
