#pragma once

#include "platform/graphics/Image.h"

#include <QDateTime>
#include <QString>
#include <optional>

// The light handle of one saved painting: its name, which keys all its files,
// the date of its stroke file, and its pictures, loaded when first asked for.
class PaintingItem final {
public:
    PaintingItem() = default;

    const QString& paintingName() const { return m_paintingName; }
    void setPaintingName(const QString& name) { m_paintingName = name; }
    // Unset for an item made by a save; the next list rebuild supplies it.
    const std::optional<QDateTime>& modificationDate() const { return m_modificationDate; }
    void setModificationDate(std::optional<QDateTime> date) { m_modificationDate = std::move(date); }

    const std::optional<platform::Image>& thumbnailImage() const { return m_thumbnailImage; }
    void setThumbnailImage(std::optional<platform::Image> image) { m_thumbnailImage = std::move(image); }
    const std::optional<platform::Image>& fullSizeImage() const { return m_fullSizeImage; }
    void setFullSizeImage(std::optional<platform::Image> image) { m_fullSizeImage = std::move(image); }

    // While set, the next load of either picture reads its file again.
    bool isModified() const { return m_isModified; }
    void setIsModified(bool modified) { m_isModified = modified; }
    // The item's position as the gallery shows it; the gallery's to set.
    unsigned index() const { return m_index; }
    void setIndex(unsigned index) { m_index = index; }

    // Read the picture from its file unless it is loaded and not modified. A
    // missing file leaves the picture empty, and the next load tries again.
    void loadThumbnail();
    void loadFullSizeImage();

private:
    QString m_paintingName;
    std::optional<QDateTime> m_modificationDate;
    std::optional<platform::Image> m_thumbnailImage;
    std::optional<platform::Image> m_fullSizeImage;
    bool m_isModified { false };
    unsigned m_index { 0 };
};
