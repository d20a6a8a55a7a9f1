#pragma once

#include <QString>
#include <functional>

class QWidget;

// What the gallery and replay screens share: their questions and messages,
// asked alike, and the loading of their interface files.

// The answer index of the destructive choice; any other index is Cancel.
constexpr int confirmationDestructiveIndex = 0;

// A sheet without a title offering one destructive choice and "Cancel",
// pointing at `anchor` on a tablet when there is one.
void showConfirmationSheet(QWidget& screen, QWidget* anchor, const QString& destructive, std::function<void(int buttonIndex)> answer);

// A message with the single button "OK".
void showOneButtonAlert(QWidget& screen, const QString& title, const QString& message);

// The movie export needs a newer system than the device has.
void alertVideoEncodingUnSupported(QWidget& screen);

// Interface files are loaded when a screen is first shown, and widgets made
// under a parent already on screen stay hidden until shown; this shows the
// screen's own widgets.
void showFormWidgets(QWidget& screen);
