#include "Classes/model/StrokePoint.h"

#include <cmath>

namespace {

int16_t packCoordinate(float value)
{
    if (!std::isfinite(value))
        return 0;
    // Truncate toward zero, then keep the low 16 bits.
    double truncated = std::trunc(static_cast<double>(value));
    auto wide = static_cast<int64_t>(std::fmod(truncated, 65536.0));
    return static_cast<int16_t>(static_cast<uint16_t>(wide & 0xffff));
}

}

void StrokePoint::packPosition(platform::Point p)
{
    m_position = { packCoordinate(p.x), packCoordinate(p.y) };
}
