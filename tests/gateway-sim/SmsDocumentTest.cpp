// How the gateway reads an SMS request and what it answers: the malformed requests and the answers that a
// client writing only well-formed requests never shows in the loopback tests.

#include "gateway-sim/SmsRequest.h"
#include "gateway-sim/SmsResponse.h"

#include "gateway-sim/TestPackets.h"

#include <gtest/gtest.h>

#include <QList>

using namespace pagewing::sim;
using namespace pagewing::sim::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// With a declaration, line breaks between elements and an empty element, which any XML writer may choose.
QByteArray Document(const QByteArray& text) {
    return "<?xml version=\"1.0\"?>\r\n<icq_sms_message>\n  <destination>+15551234567</destination><text>" +
           text + "</text><senders_name/></icq_sms_message >\n";
}

// The little-endian size of what follows, the owner 100200300, type 0x07D0, sequence 0x1234 and subtype
// 0x1482; 00 01 00 16 and 18 zeros; the big-endian length of the document and the document.
QByteArray MetaBlock(const QByteArray& xml) {
    const auto fields = QByteArray::fromHex("6CEFF805 D007 3412 8214 00010016") + QByteArray(18, '\0') +
                        Be16(xml.size()) + xml;
    return Le16(fields.size()) + fields;
}

TEST(GatewaySimSmsRequestTest, WellFormedRequestsAreReadWithTheirReferencesReplaced) {
    const std::pair<QByteArray, QString> texts[] = {
        {"Ann:\r\n Hello \xE9\x80 ", u"Ann:\r\n Hello \u00E9\u20AC "_s},
        {"&lt;&gt;&quot;&apos;&amp;amp;", u"<>\"'&amp;"_s},
        {"&#65;&#x42;&#x20AC;&#128512;&#13;&#10;", u"AB\u20AC\U0001F600\r\n"_s},
        {"", u""_s},
    };
    for (const auto& [xml, text] : texts) {
        const auto request = SmsRequest::Parse(Tlv(0x0005, "x") + Tlv(0x0001, MetaBlock(Document(xml))));
        ASSERT_TRUE(request.IsReadable()) << request.Problem.toStdString();
        EXPECT_EQ(request.Text, text);
        EXPECT_EQ(request.Destination, u"+15551234567"_s);
        EXPECT_EQ(request.SenderUin, 100200300u);
        EXPECT_EQ(request.MetaSequence, 0x1234);
    }
}

// The answer to an unreadable request still names its sequence, where the request carries one.
TEST(GatewaySimSmsRequestTest, MalformedRequestsAreUnreadable) {
    const auto xml = Document("Hi");
    const auto good = MetaBlock(xml);
    const auto spoilAt = [&good](const qsizetype at, const QByteArray& bytes) {
        return QByteArray(good).replace(at, bytes.size(), bytes);
    };
    QList<QByteArray> spoiled{spoilAt(0, Le16(good.size() - 1)),
                              spoilAt(6, QByteArray::fromHex("D107")),
                              spoilAt(10, QByteArray::fromHex("1482")),
                              spoilAt(33, QByteArray::fromHex("01")),
                              spoilAt(34, Be16(xml.size() + 1)),
                              MetaBlock(xml + '\0'),
                              MetaBlock(QByteArray(xml).replace("text>", "txet>")),
                              MetaBlock(QByteArray(xml).replace("<text>", "<text x=\"1\">")),
                              MetaBlock(QByteArray(xml).replace("icq_sms_message", "sms")),
                              MetaBlock(xml + "<icq_sms_message/>")};
    for (const auto* text :
         {"AT&T", "&amp", "&nbsp;", "&#0;", "&#xD800;", "&#x110000;", "&#x100000041;", "&#X41;", "&#12a;",
          "<b>1</b>", "1</text><text>2", "1</text>x<text>", "<!-- -->"}) {
        spoiled << MetaBlock(Document(text));
    }
    for (const auto& meta : spoiled) {
        const auto request = SmsRequest::Parse(Tlv(0x0001, meta));
        EXPECT_FALSE(request.IsReadable()) << meta.toHex(' ').toStdString();
        EXPECT_EQ(request.MetaSequence, 0x1234) << meta.toHex(' ').toStdString();
    }
    for (const auto& body :
         {QByteArray(), Tlv(0x0002, good), Tlv(0x0001, good.first(9)), Tlv(0x0001, good).chopped(1)}) {
        EXPECT_FALSE(SmsRequest::Parse(body).IsReadable()) << body.toHex(' ').toStdString();
    }
}

TEST(GatewaySimSmsResponseTest, RefusalIsTheAnswerOfAServerWithoutAnSmsGateway) {
    // TLV 1 of 60 bytes; chunk size 58; UIN 100200300, type 0x07DA, sequence 0xBEEF, subtype 1, all
    // little-endian; result 0x46; the text with its zero and no length.
    const QByteArray expected = QByteArray::fromHex(
        "0001 003C 3A00 6CEFF805 DA07 EFBE 0100 46"
        "536F7272792C2062757420534D53206D65737361676573206E6F7420696D706C656D656E746564207965742E2E2E 00");
    EXPECT_EQ(SmsResponse::RefusalSnacBody(100200300, 0xBEEF), expected);
}

} // namespace
