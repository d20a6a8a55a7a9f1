#pragma once

#include <QWidget>
#include <functional>
#include <memory>

class Painting;

constexpr int recoveryAlertTag = 300;

// Asks, once the painting that a crash left unsaved has been read, whether to
// bring it back: "Restore" hands it to `restore`, "Discard" removes it. Nothing
// is asked when there is none worth asking about, or when `screen` has gone
// or is no longer shown by then.
void offerRecoveredPainting(QWidget* screen, std::function<void(std::shared_ptr<Painting>)> restore);
