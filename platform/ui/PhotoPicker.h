#pragma once

#include "platform/ui/ViewController.h"

#include <QFileDialog>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace platform::ui {

// The photo picker: a file chooser over the user's Pictures folder, shown
// inside the window by its owner (in a popover on a tablet, as a full-window
// screen on a phone), that decodes the chosen file safely: a file that is
// huge, broken or not a picture yields no image instead of taking the program
// down. The chooser is made once and keeps its folder between showings.
class PhotoPicker final : public QObject {
    Q_OBJECT
public:
    // Pictures larger than this on their longest side are scaled down while
    // they are decoded; larger allocations are refused.
    static constexpr int maximumSide = 4096;
    static constexpr int allocationLimitMegabytes = 256;

    struct Result {
        bool cancelled { false };
        std::optional<QImage> image; // empty when the file could not be decoded
        QString path;
    };
    using Completion = std::function<void(const Result&)>;

    explicit PhotoPicker(QObject* parent = nullptr);
    ~PhotoPicker() override;

    // Whether there is a folder to pick from at all.
    static bool isSourceAvailable();

    // The chooser widget (objectName "photoPicker"); the completion runs once
    // per showing, when a file is chosen or the chooser is cancelled.
    QFileDialog& dialog();
    void begin(Completion completion);
    // The chooser as a screen of its own, for presenting over the window.
    std::shared_ptr<ViewController> screen();

    // Decodes a picture file with the limits above.
    static std::optional<QImage> decode(const QString& path);
    // The folder the chooser opens in: $PINTARO_PICTURES when set, otherwise
    // the user's Pictures folder.
    static QString picturesFolder();

private:
    void finish(const Result& result);

    std::unique_ptr<QFileDialog> m_dialog;
    std::shared_ptr<ViewController> m_screen;
    Completion m_completion;
};

}
