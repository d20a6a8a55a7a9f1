#include "Classes/gallery/ThumbnailLayout.h"

#include "Classes/gallery/Utility.h"

int getPadding()
{
    return isPad() ? 8 : 4;
}

int getThumbnailBorderWidth()
{
    return isPad() ? getPadding() + 5 : 0;
}

int getThumbnailShadowWidth()
{
    return isPad() ? 3 : 0;
}

int getThumbnailWidth(const platform::Rect& rect)
{
    return static_cast<int>((rect.width() - 5 * getPadding()) * 0.25f);
}
