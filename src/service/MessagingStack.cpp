#include "service/MessagingStack.h"

#include "service/HandedOverSends.h"
#include "service/History.h"
#include "service/Messenger.h"
#include "session/SMSSender.h"

namespace pagewing {

MessagingStack::MessagingStack(FrontEnd frontEnd, QObject* parent)
    : QObject(parent)
    , Authorization(this)
    , ServiceConnection(this)
    , Records(std::make_unique<History>())
    , Session(std::make_unique<SMSSender>(Authorization, ServiceConnection, Clock, Timers, Relay))
    , Service(std::make_unique<Messenger>(*Session, Clock, Timers, *Records,
                                          frontEnd == FrontEnd::Window ? Messenger::Outbox::Resumed
                                                                       : Messenger::Outbox::OwnOnly)) {
    Authorization.setObjectName(QStringLiteral("WinsockCtrl1"));
    ServiceConnection.setObjectName(QStringLiteral("WinsockCtrl2"));
    Relay.RelayTo(*Service);
    if (frontEnd == FrontEnd::Window) {
        HandOverSends = std::make_unique<HandedOverSends>(*Service);
    } else {
        // One login: a command that cannot log in says so and ends, and its caller decides about another try.
        Service->SetReconnecting(false);
    }
}

MessagingStack::~MessagingStack() {
    HandOverSends.reset();
    Session.reset();
    Service.reset();
    Records.reset();
}

} // namespace pagewing
