#pragma once

#include <QWidget>

class QLabel;

// A choice between a portrait and a landscape movie, shown as two pictures.
// The export screen turns its preview instead, so choosing here changes
// nothing yet.
class VideoEncodeView final : public QWidget {
public:
    explicit VideoEncodeView(QWidget* parent = nullptr);

    QLabel* portraitModeView() const { return m_portraitModeView; }
    QLabel* landscapeModeView() const { return m_landscapeModeView; }

    void onPortraitModeSelected() { }
    void onLandscapeModeSelected() { }

private:
    QLabel* m_portraitModeView { nullptr };
    QLabel* m_landscapeModeView { nullptr };
};
