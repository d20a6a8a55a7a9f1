#include "Classes/model/PaintingItem.h"

#include "Classes/model/PaintingFile.h"

void PaintingItem::loadThumbnail()
{
    if (m_thumbnailImage && !m_isModified)
        return;
    m_thumbnailImage = loadPaintingThumbnailImage(m_paintingName);
    m_isModified = false;
}

void PaintingItem::loadFullSizeImage()
{
    if (m_fullSizeImage && !m_isModified)
        return;
    m_fullSizeImage = loadPaintingFullSizeImage(m_paintingName);
    m_isModified = false;
}
