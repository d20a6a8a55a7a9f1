#pragma once

#include "Classes/brushes/Brush.h"

#include <optional>

// A glowing tube: the path is stroked three times in the brush colour under a
// blurred shadow of the same colour, then a thinner, slightly transparent white
// core goes on top. Neon colours are always the pure hue of the chosen colour.
// The base of the neon pen, necklace and bright neon brushes.
class NeonBrush : public Brush {
public:
    NeonBrush();
    ~NeonBrush() override;

    // Also forgets the previous stroke's segments, so that a stroke draws the
    // same live as when a fresh brush replays it.
    void strokeFrom(platform::GraphicsContext& context, platform::Point p) override;
    void prepareBrush() override;
    void updateBrush() override;
    void restoreBrush(const brush_meta& data) override;
    void setColor(const platform::Color& color) override;
    void randomBrushColor();
    void randomColor();
    // Steps the width once per stroke; the neon pen varies it per point instead.
    virtual float randomWidth();

    void setBrush(platform::GraphicsContext& context) override;
    platform::Rect drawStroke(platform::GraphicsContext& context, const platform::Path& path) override;
    void drawNeonPath(platform::GraphicsContext& context, const platform::Path& path, const platform::Path* amendPath);
    // Redraws the white core of the two previous segments over the new glow.
    virtual void drawAmendPath(platform::GraphicsContext& context);

    bool isNewStroke() const { return m_isNewStroke; }

protected:
    // Dirty margin around a path glowing with lines of the width: three times
    // the glow width on a tablet, and never less than the shadow's reach.
    float neonMargin(float glowLineWidth) const;
    // Dirty margin around a path drawn only as the white core.
    float coreMargin() const;
    // The colour the glow is drawn in: brushColor, or the record's bytes while none was chosen.
    platform::Color glowColor() const;
    // The white core's line: the record's width, round caps, no glow, the
    // nearly opaque core opacity. `neon` is the glow's blur being turned off.
    void setCoreLine(platform::GraphicsContext& context, float neon) const;
    // The base class's mirror loop over an already built path.
    platform::Rect drawMirrored(platform::GraphicsContext& context, const platform::Path& path);

    std::optional<platform::Path> m_prevPath1;
    std::optional<platform::Path> m_prevPath2;
    std::optional<platform::Path> m_amendPath;
    bool m_isNewStroke { false };
};
