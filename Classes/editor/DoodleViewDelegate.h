#pragma once

// Told by the canvas when a finger touches down while the child is drawing.
class DoodleViewDelegate {
public:
    virtual void doodleViewOnTouchBegan() = 0;
    // Told when the finished strokes changed: a stroke ended or one was undone.
    virtual void doodleViewStrokesChanged() { }

protected:
    ~DoodleViewDelegate() = default;
};
