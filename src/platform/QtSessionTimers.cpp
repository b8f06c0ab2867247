#include "platform/QtSessionTimers.h"

#include <QTimer>

namespace pagewing {

namespace {

class QtSessionTimer : public SessionTimer {
public:
    explicit QtSessionTimer(TimeoutHandler onTimeout) {
        Timer.setSingleShot(true);
        QObject::connect(&Timer, &QTimer::timeout, &Timer, std::move(onTimeout));
    }

    void Start(std::chrono::milliseconds Interval) override { Timer.start(Interval); }
    void Stop() override { Timer.stop(); }

private:
    QTimer Timer;
};

} // namespace

std::unique_ptr<SessionTimer> QtSessionTimers::CreateTimer(SessionTimer::TimeoutHandler OnTimeout) {
    return std::make_unique<QtSessionTimer>(std::move(OnTimeout));
}

} // namespace pagewing
