#pragma once

#include <QString>

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
};

}
