#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <optional>

namespace platform {

// The photo album on a desktop: pictures go to the user's Pictures folder and
// movies to the Videos folder, each in a "Pintaro" subfolder. The environment
// variable PINTARO_ALBUM names another folder to hold Pictures and Videos.
// Nothing in the album is ever overwritten, and a file appears there only
// whole: it is written beside its final name and then renamed.
class PhotoAlbum final {
public:
    static QString picturesDirectory();
    static QString videosDirectory();

    // Whether the album takes the movie at that path: it must open as a media
    // file and hold an H.264 video stream.
    static bool isVideoCompatible(const QString& path);

    // Copies the movie into the album; the path of the copy, or nothing when
    // the movie is not compatible or cannot be copied.
    static std::optional<QString> saveVideo(const QString& path);

    // Writes the picture into the album as PNG; the path, or nothing.
    static std::optional<QString> saveImage(const QImage& image);

    // Removes the temporary files of copies into the album that were killed
    // before they were whole. Copies still being written, by any process,
    // hold a lock on their file and are left alone. Runs by itself once,
    // before the first copy into the album; how many files went.
    static int removeLeftoverCopies();

    // Writes the picture on the global queue and then reports on the main
    // queue whether it was saved, as the platform's album writer does.
    static void writeImage(const QImage& image, std::function<void(bool saved)> completion);

private:
    static QString albumDirectory(bool pictures);
    static void removeLeftoverCopiesOnce();
    // Moves the finished temporary file to a name of its own in the folder.
    static std::optional<QString> publish(const QString& temporaryPath, const QString& directory, const QString& suffix);
};

}
