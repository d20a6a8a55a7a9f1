#include "platform/ui/PhotoPicker.h"

#include "platform/ui/Localized.h"

#include <QDir>
#include <QFileDialog>
#include <QImageReader>
#include <QStandardPaths>

namespace platform::ui {

PhotoPicker::PhotoPicker(QObject* parent)
    : QObject(parent)
{
}

QString PhotoPicker::picturesFolder()
{
    QString configured = qEnvironmentVariable("PINTARO_PICTURES");
    if (!configured.isEmpty())
        return configured;
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return pictures.isEmpty() ? QDir::homePath() : pictures;
}

std::optional<QImage> PhotoPicker::decode(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(allocationLimitMegabytes);
    QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return std::nullopt;
    if (size.width() > maximumSide || size.height() > maximumSide)
        reader.setScaledSize(size.scaled(maximumSide, maximumSide, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}

void PhotoPicker::pick(QWidget* anyWidget, Completion completion)
{
    if (m_dialog)
        return;
    m_completion = std::move(completion);
    auto* dialog = new QFileDialog(anyWidget->window(), localized("Choose a picture"), picturesFolder(),
        localized("Pictures") + QStringLiteral(" (*.png *.jpg *.jpeg *.bmp *.gif *.webp)"));
    dialog->setObjectName(QStringLiteral("photoPicker"));
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_dialog = dialog;
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& path) {
        Result result;
        result.path = path;
        result.image = decode(path);
        finish(result);
    });
    connect(dialog, &QDialog::rejected, this, [this] {
        Result result;
        result.cancelled = true;
        finish(result);
    });
    dialog->open();
}

void PhotoPicker::cancel()
{
    if (m_dialog)
        m_dialog->reject();
}

void PhotoPicker::finish(const Result& result)
{
    m_dialog = nullptr;
    Completion completion = std::move(m_completion);
    m_completion = nullptr;
    if (completion)
        completion(result);
}

}
