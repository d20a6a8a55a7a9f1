#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>

class QPushButton;

namespace platform::ui {

class ModalOverlay;

// A message in the middle of the window with a row of buttons, modal to the
// window. The answer is the index of the button pressed (in the order given);
// Escape answers `escapeButtonIndex`. The alert closes itself after answering.
class AlertView final : public QWidget {
    Q_OBJECT
public:
    using Answer = std::function<void(int buttonIndex)>;

    static AlertView* show(QWidget* anyWidget, const QString& title, const QString& message,
        const QStringList& buttons, int tag, Answer answer, int escapeButtonIndex = 0);

    int tag() const { return m_tag; }
    QString title() const { return m_title; }
    QString message() const { return m_message; }
    QPushButton* button(int index) const;
    int buttonCount() const { return static_cast<int>(m_buttons.size()); }

    // Answers as if the button had been pressed.
    void dismissWithButtonIndex(int index);

    // The alert now shown in the window of `anyWidget`, or nullptr.
    static AlertView* current(QWidget* anyWidget);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    AlertView(ModalOverlay& overlay, const QString& title, const QString& message, const QStringList& buttons, int tag, Answer answer);

    QString m_title;
    QString m_message;
    int m_tag { 0 };
    Answer m_answer;
    std::vector<QPushButton*> m_buttons;
    QPointer<ModalOverlay> m_overlay;
    bool m_answered { false };
};

}
