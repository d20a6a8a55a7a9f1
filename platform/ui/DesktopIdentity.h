#pragma once

namespace platform::ui {

// Tells the desktop which installed program the running one is, so that its
// window shows the program's icon and groups under its menu entry (Wayland
// matches the desktop entry's name, X11 takes the window icon).
// Needs a running QGuiApplication.
void identifyToDesktop();

}
