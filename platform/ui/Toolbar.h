#pragma once

#include <QWidget>

class QHBoxLayout;

namespace platform::ui {

class BarButton;

// A 44-point bar of buttons and spaces, dark and translucent, laid across the
// screen's width by its owner.
class Toolbar final : public QWidget {
    Q_OBJECT
public:
    static constexpr int height = 44;

    explicit Toolbar(QWidget* parent = nullptr);

    // The toolbar takes the button as a child widget. A toolbar made from an
    // interface file brings its own layout instead.
    BarButton* addButton(BarButton* button);
    void addWidget(QWidget* widget);
    // Space that grows to share out the room left over.
    void addFlexibleSpace();
    void addFixedSpace(int points);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QHBoxLayout& row();
};

}
