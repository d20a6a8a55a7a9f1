#include "platform/ui/PhotoPicker.h"

#include "platform/ui/Localized.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace platform::ui {

namespace {

// Holds the chooser while it is presented over the whole window.
class PhotoPickerScreen final : public ViewController {
public:
    explicit PhotoPickerScreen(QFileDialog& dialog)
        : m_dialog(dialog)
    {
        setTitle(localized("Choose a picture"));
        m_layout = new QVBoxLayout(this);
        m_layout->setContentsMargins(0, 0, 0, 0);
    }
    ~PhotoPickerScreen() override
    {
        // The chooser belongs to the picker, not to this screen.
        if (m_dialog.parent() == this)
            m_dialog.setParent(nullptr);
    }
    void viewWillAppear(bool) override
    {
        m_layout->addWidget(&m_dialog);
        m_dialog.show();
    }
    void viewDidDisappear(bool) override
    {
        m_layout->removeWidget(&m_dialog);
        m_dialog.setParent(nullptr);
    }

private:
    QFileDialog& m_dialog;
    QVBoxLayout* m_layout { nullptr };
};

}

PhotoPicker::PhotoPicker(QObject* parent)
    : QObject(parent)
{
}

PhotoPicker::~PhotoPicker()
{
    m_screen.reset();
    if (m_dialog && m_dialog->parent())
        m_dialog->setParent(nullptr);
}

QString PhotoPicker::picturesFolder()
{
    QString configured = qEnvironmentVariable("PINTARO_PICTURES");
    if (!configured.isEmpty())
        return configured;
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return pictures.isEmpty() ? QDir::homePath() : pictures;
}

bool PhotoPicker::isSourceAvailable()
{
    QFileInfo folder(picturesFolder());
    return folder.isDir() && folder.isReadable();
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

QFileDialog& PhotoPicker::dialog()
{
    if (m_dialog)
        return *m_dialog;
    m_dialog = std::make_unique<QFileDialog>(nullptr, localized("Choose a picture"), picturesFolder(),
        localized("Pictures") + QStringLiteral(" (*.png *.jpg *.jpeg *.bmp *.gif *.webp)"));
    QFileDialog& dialog = *m_dialog;
    dialog.setObjectName(QStringLiteral("photoPicker"));
    dialog.setAccessibleName(localized("Choose a picture"));
    // Shown inside the window, not as a window of its own.
    dialog.setWindowFlags(Qt::Widget);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setSizeGripEnabled(false);
    connect(&dialog, &QFileDialog::fileSelected, this, [this](const QString& path) {
        Result result;
        result.path = path;
        result.image = decode(path);
        finish(result);
    });
    connect(&dialog, &QDialog::rejected, this, [this] {
        Result result;
        result.cancelled = true;
        finish(result);
    });
    return dialog;
}

void PhotoPicker::begin(Completion completion)
{
    m_completion = std::move(completion);
    dialog().setResult(0);
}

std::shared_ptr<ViewController> PhotoPicker::screen()
{
    if (!m_screen)
        m_screen = std::make_shared<PhotoPickerScreen>(dialog());
    return m_screen;
}

void PhotoPicker::finish(const Result& result)
{
    Completion completion = std::move(m_completion);
    m_completion = nullptr;
    if (completion)
        completion(result);
}

}
