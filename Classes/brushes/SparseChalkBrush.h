#pragma once

#include "Classes/brushes/PatternBrush.h"

// The thin chalk: a pattern brush whose every stamp is turned by a random angle.
class SparseChalkBrush final : public PatternBrush {
public:
    SparseChalkBrush(int type, std::shared_ptr<PatternManager> patternMgr);

    void jitter() override;
    void rotate() override;
    void setJitterRotationMatrix(platform::GraphicsContext& context, platform::Point point) override;
};
