#pragma once

#include "Classes/brushes/Bezier.h"
#include "Classes/brushes/Brush.h"
#include "Classes/brushes/PatternManager.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Image.h"

#include <memory>

// Paints a stroke by stamping one coloured pattern image again and again along
// the smoothed curve: the pattern, crayon and colour-dots brushes.
class PatternBrush : public Brush {
public:
    // Types with a row in the pattern table; see Brush::createBrush.
    PatternBrush(int type, std::shared_ptr<PatternManager> patternMgr);

    void prepareBrush() override;
    void reinitBrush(const brush_meta& data) override;
    void restoreBrush(const brush_meta& data) override;
    void randomBrushColor();
    void randomWidth();
    void loadPattern();

    platform::Rect drawStroke(platform::GraphicsContext& context, platform::Point startPoint,
        platform::Point controlPoint, platform::Point endPoint) override;
    platform::Rect drawStrokeWithQuartz2D(platform::GraphicsContext& context, platform::Point startPoint,
        platform::Point controlPoint, platform::Point endPoint);

    virtual void jitter();
    virtual void rotate();
    virtual void setJitterRotationMatrix(platform::GraphicsContext& context, platform::Point point);
    void setDirectionMatrix(platform::GraphicsContext& context, platform::Point from, platform::Point to);

    // Every point of a pattern stroke shares the stroke's first record.
    int getBrushMetaPackLength() const override { return 0; }
    std::vector<uint8_t> packBrushMetaData(const brush_meta&) const override { return {}; }

    float space() const { return m_space; }
    const std::shared_ptr<const PatternArray>& patternArray() const { return m_patternArray; }
    float rotationDegree() const { return m_rotationDegree; }

protected:
    platform::Image m_pattern;
    float m_space { 0 };
    Bezier m_bezier;
    std::shared_ptr<const PatternArray> m_patternArray;
    int m_patternIndex { 0 };
    float m_jitterX { 0 };
    float m_jitterY { 0 };
    float m_rotationDegree { 0 };
    platform::AffineTransform m_matrix;
};
