#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>

class QPushButton;

namespace platform::ui {

class ModalOverlay;

// A list of choices, modal to the window: on a tablet a popover pointing at
// the button that opened it, on a phone a panel sliding up from the bottom.
// Button indices: the destructive button first (when there is one), then the
// other buttons in order, then Cancel. Escape, or a click outside, answers
// Cancel. The sheet closes itself after answering.
class ActionSheet final : public QWidget {
    Q_OBJECT
public:
    using Answer = std::function<void(int buttonIndex)>;

    struct Buttons {
        QString cancel;
        QString destructive;
        QStringList others;
    };

    // `anchor` is the button that opened the sheet; without one the sheet
    // slides up from the bottom on every device.
    static ActionSheet* show(QWidget* anyWidget, QWidget* anchor, const QString& title, const Buttons& buttons, Answer answer);

    QString title() const { return m_title; }
    int cancelButtonIndex() const { return m_cancelIndex; }
    int destructiveButtonIndex() const { return m_destructiveIndex; }
    int firstOtherButtonIndex() const { return m_destructiveIndex >= 0 ? 1 : 0; }
    int buttonCount() const { return static_cast<int>(m_buttons.size()); }
    QPushButton* button(int index) const;
    QString buttonTitle(int index) const;

    void dismissWithButtonIndex(int index);

    // The sheet now shown in the window of `anyWidget`, or nullptr.
    static ActionSheet* current(QWidget* anyWidget);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    ActionSheet(QWidget* parent, const QString& title, const Buttons& buttons, Answer answer, bool framed);
    QPushButton* addButton(const QString& text, const QString& style);

    QString m_title;
    Answer m_answer;
    std::vector<QPushButton*> m_buttons;
    int m_cancelIndex { -1 };
    int m_destructiveIndex { -1 };
    QPointer<ModalOverlay> m_overlay;
    bool m_framed { false };
    bool m_answered { false };
};

}
