#pragma once

#include <QRect>
#include <cstdint>

namespace platform {

// Coverage that drawing code works out itself, for GraphicsContext::fillCoverage.
// Pixels are the target's, x to the right and y down its rows.
class CoverageSource {
public:
    virtual ~CoverageSource() = default;
    // The pixels outside which the coverage is nothing.
    virtual QRect bounds() const = 0;
    // Narrows the pixels [x0, x1) of row y to those that may be covered and
    // writes their coverage, 0 to 255, to out[0] onwards. False when none are.
    virtual bool coverageRow(int y, int& x0, int& x1, uint8_t* out) const = 0;
};

}
