#pragma once

// Told by the canvas when a finger touches down while the child is drawing.
class DoodleViewDelegate {
public:
    virtual void doodleViewOnTouchBegan() = 0;

protected:
    ~DoodleViewDelegate() = default;
};
