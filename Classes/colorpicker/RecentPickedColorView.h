#pragma once

#include "Classes/colorpicker/HSVColor.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"

#include <QWidget>
#include <array>
#include <memory>
#include <vector>

class QAbstractButton;
class RecentPickedColorDelegate;

// Eight buttons in two rows of four, showing the first eight recent colours.
// Button i carries the tag 100 + i.
class RecentPickedColorView final : public QWidget {
    Q_OBJECT
public:
    static constexpr int buttonCount = 8;
    static constexpr int firstTag = 100;

    explicit RecentPickedColorView(QWidget* parent = nullptr);

    void setDelegate(RecentPickedColorDelegate* delegate) { m_delegate = delegate; }
    // Keeps the list and makes the buttons; called once.
    void initWithColorArray(std::shared_ptr<const std::vector<HSVColor>> colors);
    // Keeps the list and repaints the buttons with its first entries.
    void updateWithColorArray(std::shared_ptr<const std::vector<HSVColor>> colors);

    platform::Rect getFrameOfButtonAtIndex(int index) const;
    // An opaque swatch at the screen's scale, framed in white.
    static platform::Image createImageWithColor(const platform::Color& color, platform::Size size);

    // The button with the tag, or nullptr.
    QAbstractButton* buttonWithTag(int tag) const;

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    void onHistoryColorSelected(QAbstractButton* button);
    void layoutButtons();
    void paintButtons();

    std::shared_ptr<const std::vector<HSVColor>> m_colorArray;
    RecentPickedColorDelegate* m_delegate { nullptr };
    std::array<QAbstractButton*, buttonCount> m_buttons {};
};
