#pragma once

#include "gateway-sim/Endpoint.h"
#include "gateway-sim/OscarTestClient.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <memory>
#include <optional>

namespace pagewing::sim::test {

// The steps of a client's conversation with the simulated network, shared by the in-process tests and the
// tests of the built program.

inline const QByteArray DemoUin = "100200300";
inline const QByteArray DemoPassword = "pagewing";

bool IsHello(const std::optional<ReceivedFrame>& frame);

struct LoginResult {
    quint16 HelloSequence = 0;
    ReceivedFrame Reply;
    QMap<quint16, QByteArray> Tlvs;
    bool ClosedAfterReply = false;
};

std::optional<LoginResult> LogIn(const Endpoint& authorization, const QByteArray& uin,
                                 const QByteArray& password, bool byteByByte = false);

// A service connection at the address the login reply named, signed in with the demo account's fresh
// cookie and past the server's list of families.
std::unique_ptr<OscarTestClient> OpenSession(const Endpoint& authorization, bool byteByByte = false);

QByteArray SmsFrame(quint32 requestId, quint16 metaSequence, const QByteArray& destination,
                    const QByteArray& text);

// "Yes" or "No" from a SNAC 15,03 answering that request for the demo account with every length and constant
// right; empty for anything else.
QString SmsReplyVerdict(const std::optional<ReceivedFrame>& frame, quint32 requestId, quint16 metaSequence);

} // namespace pagewing::sim::test
