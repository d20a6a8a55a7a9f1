#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

#include <QFileDialog>
class QWidget;

namespace platform::ui {

// Chooses a picture from the user's Pictures folder and decodes it safely:
// a file that is huge, broken or not a picture yields no image instead of
// taking the program down.
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

    // Opens the file dialog inside `anyWidget`'s window; the completion runs
    // once, when a file is chosen or the dialog is cancelled.
    void pick(QWidget* anyWidget, Completion completion);
    bool isPicking() const { return m_dialog != nullptr; }
    QFileDialog* dialog() const { return m_dialog; }
    void cancel();

    // Decodes a picture file with the limits above.
    static std::optional<QImage> decode(const QString& path);
    // The folder the dialog opens in: $PINTARO_PICTURES when set, otherwise
    // the user's Pictures folder.
    static QString picturesFolder();

private:
    void finish(const Result& result);

    QPointer<QFileDialog> m_dialog;
    Completion m_completion;
};

}
