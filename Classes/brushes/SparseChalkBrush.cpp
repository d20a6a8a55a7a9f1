#include "Classes/brushes/SparseChalkBrush.h"

SparseChalkBrush::SparseChalkBrush(int type, std::shared_ptr<PatternManager> patternMgr)
    : PatternBrush(type, std::move(patternMgr))
{
    m_brushData.hasJitter = 1;
    m_brushData.hasRotation = 1;
    m_brushData.directionEnabled = 0;
}

void SparseChalkBrush::jitter()
{
    m_jitterX = 0;
    m_jitterY = 0;
}

void SparseChalkBrush::rotate()
{
    // One rand() value per stamp, so a replay seeded from the record repeats them.
    m_rotationDegree = randRange(-90.0f, 90.0f);
}

void SparseChalkBrush::setJitterRotationMatrix(platform::GraphicsContext& context, platform::Point point)
{
    PatternBrush::setJitterRotationMatrix(context, point);
}
