#pragma once

#include <QString>
#include <functional>
#include <vector>

// The screens tool: each subsystem adds the screens and states it renders with a
// ScreenShotSet at file scope. A set is run once per device profile with the
// output folder; it saves its PNGs there (see saveWidget) and returns their
// paths.
struct ScreenShotContext {
    QString outputFolder;
    QString deviceName; // "tablet", "phone" or "retina-phone"
    // A temporary Documents and album folder, empty at the start of every set.
    QString documentsFolder;
};

using ScreenShotFunction = std::function<QStringList(const ScreenShotContext&)>;

class ScreenShotSet final {
public:
    ScreenShotSet(const char* name, ScreenShotFunction function);

    struct Entry {
        QString name;
        ScreenShotFunction function;
    };
    static std::vector<Entry>& all();
};

class QWidget;
// Renders the widget, as shown, into "<deviceName>-<name>.png" in the output
// folder and returns the path, or an empty string when it could not be written.
QString saveWidget(QWidget& widget, const ScreenShotContext& context, const QString& name);
