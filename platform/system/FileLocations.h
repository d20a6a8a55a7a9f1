#pragma once

#include <QFile>
#include <QString>
#include <memory>

namespace platform {

// Where the program keeps its files.
class FileLocations final {
public:
    // The application's Documents directory, created when missing: the
    // per-user data folder's "Pintaro/Documents", or the folder named by the
    // environment variable PINTARO_DOCUMENTS. An empty string when it cannot
    // be created.
    static QString documentsDirectory();

    // A file or folder name joined to the Documents directory.
    static QString documentPath(const QString& name);

    // Opens the file for reading only when it is a regular file (a symbolic
    // link to one is fine). A pipe, socket or device under one of our names
    // would block or have effects on opening, so none is ever opened in a
    // way that can wait: null for them and for missing or unreadable files.
    static std::unique_ptr<QFile> openRegularFile(const QString& path);
    // Whether the path names a regular file, without opening it.
    static bool isRegularFile(const QString& path);
};

}
