#pragma once

#include <QWidget>

namespace platform::ui {

// The rounded frame of a popover with its arrow, pointing up at an anchor
// below it or down at one above.
class PopoverPanel final : public QWidget {
    Q_OBJECT
public:
    static constexpr int arrowHeight = 14;
    static constexpr int border = 6;

    explicit PopoverPanel(QWidget* parent);

    // Lays the panel out for content of the given size so that its arrow
    // points at `anchor` (window coordinates), inside `bounds`; returns the
    // rectangle the content gets, in panel coordinates.
    QRect place(QSize contentSize, QRect anchor, QRect bounds);

    bool pointsUp() const { return m_pointsUp; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool m_pointsUp { true };
    int m_arrowX { 0 };
};

}
