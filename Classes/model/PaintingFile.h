#pragma once

#include "platform/graphics/Image.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <span>

class Painting;

// Where paintings are kept and how each is stored: the stroke file "N.stk",
// the pictures "N_bkg.png", "N_thumb.png", "N.png" and "N_layer_d.png" (with
// "@2x" before the extension on a scale-2 screen), and the "index" counter.
// Every file is written to a temporary file beside it and renamed over its
// name only when complete, so a file under its final name is never partial.
// Reading holds every file to the painting limits (PaintingLimits.h) and
// opens nothing but regular files.

// Documents/Painting, created when missing; nothing when it cannot be.
std::optional<QString> getPaintingDirectoryPath();

// The file name of one of a painting's pictures, such as paintingImageFileName(N,
// "_thumb") for "N_thumb.png", with "@2x" when `retina`.
QString paintingImageFileName(const QString& name, const QString& suffix, bool retina);
QString strokeFileName(const QString& name);

// Writes the bytes as every painting file is written: under a temporary name,
// renamed over `path` once complete and on disk. False, with `path` as it
// was, when that fails.
bool storeBytesAtomically(const QString& path, std::span<const uint8_t> bytes);
// Writes the picture as PNG, replacing any earlier file atomically.
bool storeImage(const platform::Image& image, const QString& path);
// Loads a picture by its plain name. On a scale-2 screen the "@2x" file is
// preferred and the picture then has scale 2. Nothing when neither exists,
// when the file is not a regular file holding a PNG, or when the picture has
// more pixels than `maxPointSize` at its scale: it is then never decoded.
std::optional<platform::Image> loadImageNamed(const QString& path, const platform::Size& maxPointSize);
// The thumbnail, no larger than a grid cell of any screen can need.
std::optional<platform::Image> loadPaintingThumbnailImage(const QString& name);
// The full picture, no larger than its painting; nothing when the stroke file
// gives no size.
std::optional<platform::Image> loadPaintingFullSizeImage(const QString& name);

// Writes all files of the painting, its pictures first and the stroke file,
// whose presence lists the painting, last. False when any of them could not be
// written; files already under the painting's name are then left as they were.
bool storePainting(const QString& name, Painting& painting);
// Writes the stroke file unless the painting was read from it and nothing was
// drawn since (and the file is still there). After a write the layers count as
// fully stored.
bool storeStrokeToFile(const QString& path, Painting& painting);

// Reads all files of a painting into one that has no layers yet. False when
// the stroke file is missing or damaged; the painting is then left unchanged.
bool loadPainting(const QString& name, Painting& painting);
bool loadStrokeFromFile(const QString& path, Painting& painting);

// Deletes every file of the painting, the stroke file first so that it leaves
// the list even if a later deletion fails. Missing files are no error. True
// when no file of the painting is left.
bool removePainting(const QString& name);

// Removes the files of the painting directory that no saved painting owns:
// pictures named as a save names them whose stroke file is missing (the save
// was killed before writing it) and temporary files of interrupted writes.
// Nothing else is touched (files of other names, pipes and the like),
// and nothing at all while a save in any process is running. How many files
// went; nothing when the directory could not be cleaned now.
std::optional<int> removeOrphanPaintingFiles();

// The directory's 4-byte counter; a missing or short file reads as 0.
uint32_t loadGlobalUniqueImageIndex();
bool storeGlobalUniqueImageIndex(uint32_t index);
