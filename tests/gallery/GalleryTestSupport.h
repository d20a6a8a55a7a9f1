#pragma once

#include "Classes/model/Painting.h"
#include "Classes/model/PaintingFile.h"
#include "Classes/model/PaintingManager.h"
#include "platform/system/Device.h"
#include "platform/system/DispatchQueue.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButton.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/NavigationController.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QWheelEvent>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

namespace gallerytest {

// Points the Documents directory and the photo album at a fresh temporary
// folder for the life of a test.
struct ScopedDocuments final {
    ScopedDocuments()
    {
        qputenv("PINTARO_DOCUMENTS", folder.path().toUtf8());
        qputenv("PINTARO_ALBUM", (folder.path() + QStringLiteral("/Album")).toUtf8());
    }
    ~ScopedDocuments()
    {
        qunsetenv("PINTARO_DOCUMENTS");
        qunsetenv("PINTARO_ALBUM");
    }
    QStringList albumPictures() const { return QDir(folder.path() + QStringLiteral("/Album/Pictures/Pintaro")).entryList(QDir::Files); }
    QString file(const QString& name) const { return folder.path() + QStringLiteral("/Painting/") + name; }
    QTemporaryDir folder;
};

// A painting of the screen's size with `strokes` pen strokes of about
// `points` recorded points each, every one in its own colour and place.
inline std::unique_ptr<Painting> makeStrokePainting(int strokes, int points = 6)
{
    const platform::Rect screen = platform::Device::mainScreenBounds();
    const platform::Size size { screen.width(), screen.height() - 44 };
    auto painting = std::make_unique<Painting>(size);
    painting->addTransparentLayer();
    painting->setMirrixMode(0);
    painting->switchBrush(13);
    for (int s = 0; s < strokes; ++s) {
        painting->setBrushColorWithSolidColor(platform::Color::hsba(static_cast<float>(s) / 7, 1, 1));
        const float y = 20 + static_cast<float>((s * 37) % static_cast<int>(size.height - 40));
        painting->strokeFrom({ 10, y });
        for (int i = 1; i < points; ++i)
            painting->strokeTo({ 10 + static_cast<float>(i) * 25, y + static_cast<float>((i % 2) * 20) });
        painting->strokeEnd({ 10 + static_cast<float>(points) * 25, y });
    }
    painting->setPaintingImage(painting->getPaintingImage());
    return painting;
}

// Saves `count` paintings through the painting list, one clock second apart,
// oldest first, and returns their names.
inline QStringList savePaintings(int count, int strokes = 3)
{
    PaintingManager manager;
    int second = 0;
    manager.setClock([&second] { return QDateTime(QDate(2014, 6, 1), QTime(8, 0, 0)).addSecs(second); });
    QStringList names;
    for (int i = 0; i < count; ++i) {
        auto painting = makeStrokePainting(strokes + i % 3);
        manager.savePainting(*painting, nullptr, [&names](std::shared_ptr<PaintingItem> item) {
            if (item)
                names << item->paintingName();
        });
        platform::DispatchQueue::global().waitUntilIdle();
        platform::DispatchQueue::mainQueue().waitUntilIdle();
        ++second;
    }
    return names;
}

// Many paintings at once: one saved through the painting list, the others
// copies of its files under later names and later dates.
inline QStringList savePaintingCopies(int count)
{
    QStringList names = savePaintings(1);
    const QString directory = *getPaintingDirectoryPath() + QLatin1Char('/');
    const QString first = names.front();
    const QDateTime base = QFileInfo(directory + strokeFileName(first)).lastModified();
    const QStringList files = QDir(directory).entryList({ first + QStringLiteral("*") }, QDir::Files);
    for (int i = 1; i < count; ++i) {
        const QString name = QStringLiteral("2015-01-01-00-00-%1").arg(i, 4, 10, QLatin1Char('0'));
        // The pictures are links to the first painting's; each stroke file is
        // a copy of its own, whose date sets the order.
        for (const QString& file : files) {
            const QString target = directory + name + file.mid(first.size());
            if (!file.endsWith(QStringLiteral(".stk"))) {
                QFile::link(directory + file, target);
                continue;
            }
            QFile::copy(directory + file, target);
            QFile stamped(target);
            if (stamped.open(QIODevice::ReadWrite))
                stamped.setFileTime(base.addSecs(i), QFileDevice::FileModificationTime);
        }
        names << name;
    }
    return names;
}

// Runs the event loop until the condition holds; false when it still does
// not after the timeout.
template<typename Condition>
bool waitFor(Condition condition, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
}

// A click where the user would click: into the window at the widget's
// centre, so that whatever lies on top there takes it.
// The click is handled before this returns; `settle` then also runs what
// the click queued for later, such as the end of a background load.
inline void clickWidget(QWidget& widget, bool settle = true)
{
    QWidget& window = *widget.window();
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, widget.mapTo(&window, widget.rect().center()));
    if (settle)
        QCoreApplication::processEvents();
}

// Holds the mouse down on the widget past the long-press time.
inline void longPressWidget(QWidget& widget)
{
    QWidget& window = *widget.window();
    const QPoint point = widget.mapTo(&window, widget.rect().center());
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, point);
    QTest::qWait(700);
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, point);
    QCoreApplication::processEvents();
}

// Drags from the widget's centre by `offset` in small steps, as a finger or
// the mouse would.
inline void dragWidget(QWidget& widget, QPoint offset)
{
    QWidget& window = *widget.window();
    const QPoint start = widget.mapTo(&window, widget.rect().center());
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, start);
    constexpr int steps = 12;
    for (int i = 1; i <= steps; ++i) {
        QTest::qWait(15);
        QTest::mouseMove(window.windowHandle(), start + offset * i / steps);
    }
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, start + offset);
    QCoreApplication::processEvents();
}

inline void keyInto(QWidget& window, Qt::Key key)
{
    QTest::keyClick(window.windowHandle(), key);
    QCoreApplication::processEvents();
}

// Turns the wheel over the scroll view by `notches` (positive scrolls down).
inline void wheelOver(QWidget& viewport, int notches)
{
    const QPointF point = viewport.rect().center();
    QWheelEvent wheel(point, viewport.mapToGlobal(point), QPoint(), QPoint(0, -120 * notches), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&viewport, &wheel);
    QCoreApplication::processEvents();
}

inline platform::ui::BarButton* barButtonNamed(QWidget& root, const QString& name)
{
    for (auto* button : root.findChildren<platform::ui::BarButton*>()) {
        if (button->accessibleName() == name && button->isVisible())
            return button;
    }
    return nullptr;
}

// Answers the sheet now shown with its button titled `title`; false when
// there is no sheet or no such button.
inline bool answerSheet(QWidget& window, const QString& title, bool settle = true)
{
    auto* sheet = platform::ui::ActionSheet::current(&window);
    if (!sheet)
        return false;
    for (int i = 0; i < sheet->buttonCount(); ++i) {
        if (sheet->buttonTitle(i) == title) {
            clickWidget(*sheet->button(i), settle);
            return true;
        }
    }
    return false;
}

// A window of the device's screen size holding the navigation stack.
struct GalleryWindow {
    explicit GalleryWindow(std::shared_ptr<platform::ui::ViewController> root)
        : window(std::move(root))
    {
        const platform::Rect screen = platform::Device::mainScreenBounds();
        window.resize(static_cast<int>(screen.width()), static_cast<int>(screen.height()));
        window.show();
        QCoreApplication::processEvents();
    }
    platform::ui::NavigationController& navigation() { return window.navigationController(); }
    platform::ui::MainWindow window;
};

}
