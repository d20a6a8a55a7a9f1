#include "Classes/editor/RoundRectPath.h"

platform::Path createRoundRectPath(platform::Rect rect, float radius)
{
    float minX = rect.x();
    float midX = rect.x() + rect.width() / 2;
    float maxX = rect.x() + rect.width();
    float minY = rect.y();
    float midY = rect.y() + rect.height() / 2;
    float maxY = rect.y() + rect.height();

    platform::Path path;
    path.moveTo({ minX, midY });
    path.arcToPoint({ minX, minY }, { midX, minY }, radius);
    path.arcToPoint({ maxX, minY }, { maxX, midY }, radius);
    path.arcToPoint({ maxX, maxY }, { midX, maxY }, radius);
    path.arcToPoint({ minX, maxY }, { minX, midY }, radius);
    path.closeSubpath();
    return path;
}
