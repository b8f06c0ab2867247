#include "desktop/CaretBlinkTimeout.h"

#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

namespace pagewing {

CaretBlinkTimeout::CaretBlinkTimeout(std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent)
    , FlashTime(QGuiApplication::styleHints()->cursorFlashTime()) {
    if (FlashTime <= 0) {
        return; // the desktop asks for a steady caret already
    }
    Quiet.setSingleShot(true);
    Quiet.setInterval(timeout);
    connect(&Quiet, &QTimer::timeout, this, &CaretBlinkTimeout::Rest);
    QCoreApplication::instance()->installEventFilter(this);
    Quiet.start();
}

CaretBlinkTimeout::~CaretBlinkTimeout() {
    Wake();
}

bool CaretBlinkTimeout::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::WindowActivate:
        Wake();
        Quiet.start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CaretBlinkTimeout::Rest() {
    Resting = true;
    QGuiApplication::styleHints()->setCursorFlashTime(0);
}

void CaretBlinkTimeout::Wake() {
    if (Resting) {
        Resting = false;
        QGuiApplication::styleHints()->setCursorFlashTime(FlashTime);
    }
}

} // namespace pagewing
