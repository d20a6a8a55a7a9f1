#pragma once

// Hears which recent-colour button the child pressed, by its place in the list.
class RecentPickedColorDelegate {
public:
    virtual ~RecentPickedColorDelegate() = default;

    virtual void recentColorPicked(int index) = 0;
};
