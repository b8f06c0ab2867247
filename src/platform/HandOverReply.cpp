#include "platform/HandOverReply.h"

#include "platform/SendRequest.h"
#include "platform/SingleCopy.h"

#include <QDataStream>
#include <QLocalSocket>

namespace pagewing {

HandOverReply::HandOverReply(QLocalSocket* connection, QObject* parent)
    : QObject(parent)
    , Connection(connection) {
    Connection->setParent(this);
    connect(Connection, &QLocalSocket::disconnected, this, &QObject::deleteLater);
}

void HandOverReply::WriteLine(const QString& line) {
    QDataStream stream(Connection);
    stream.setVersion(SingleCopy::StreamVersion);
    stream << static_cast<quint8>(SingleCopy::Reply::Line) << line;
}

void HandOverReply::Sent() {
    QDataStream stream(Connection);
    stream.setVersion(SingleCopy::StreamVersion);
    stream << static_cast<quint8>(SingleCopy::Reply::Sent);
}

void HandOverReply::Finish(SendExit outcome) {
    QDataStream stream(Connection);
    stream.setVersion(SingleCopy::StreamVersion);
    stream << static_cast<quint8>(SingleCopy::Reply::Exit) << static_cast<qint32>(outcome);
    Connection->disconnectFromServer();
}

} // namespace pagewing
