#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

namespace pagewing {

// Stops the text caret blinking once the user has left the program alone for a while, and lets it blink
// again at the next key, click or activation, as GTK desktops do. A blinking caret wakes the program twice a
// second for as long as a text box has the focus; at rest nothing does.
class CaretBlinkTimeout : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::seconds DefaultTimeout{10};

    explicit CaretBlinkTimeout(std::chrono::milliseconds timeout = DefaultTimeout, QObject* parent = nullptr);
    ~CaretBlinkTimeout() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Rest();
    void Wake();

    // The desktop's own flash time, given back whenever the caret blinks.
    const int FlashTime;
    bool Resting = false;
    QTimer Quiet;
};

} // namespace pagewing
