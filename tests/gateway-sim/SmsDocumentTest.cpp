#include "gateway-sim/DeliveryPolicy.h"
#include "gateway-sim/FlatXmlDocument.h"
#include "gateway-sim/Reporter.h"
#include "gateway-sim/SmsRequest.h"
#include "gateway-sim/SmsResponse.h"
#include "gateway-sim/XmlEntities.h"

#include "gateway-sim/TestPackets.h"

#include <gtest/gtest.h>

#include <functional>

using namespace pagewing::sim;
using namespace pagewing::sim::test;
using namespace Qt::Literals::StringLiterals;

namespace {

TEST(GatewaySimXmlEntitiesTest, ReferencesAreReplaced) {
    const std::pair<QString, QString> cases[] = {
        {u"Hello &amp; bye"_s, u"Hello & bye"_s},
        {u"&lt;&gt;&quot;&apos;&amp;amp;"_s, u"<>\"'&amp;"_s},
        {u"&#65;&#x42;&#x20AC;&#128512;&#13;&#10;"_s, u"AB\u20AC\U0001F600\r\n"_s},
    };
    for (const auto& [escaped, plain] : cases) {
        EXPECT_EQ(XmlEntities::Unescape(escaped), plain) << escaped.toStdString();
    }
}

TEST(GatewaySimXmlEntitiesTest, ReferencesNoXmlReaderAcceptsAreRefused) {
    for (const auto* text :
         {u"AT&T", u"&amp", u"&nbsp;", u"&;", u"&#;", u"&#x;", u"&#0;", u"&#1;", u"&#xD800;", u"&#x110000;",
          u"&#xFFFFFFFFF;", u"&#12a;", u"&#x+41;", u"&#X41;"}) {
        EXPECT_FALSE(XmlEntities::Unescape(text)) << QString::fromUtf16(text).toStdString();
    }
}

TEST(GatewaySimFlatXmlDocumentTest, FieldsKeepLineBreaksAndSpaces) {
    const auto document = FlatXmlDocument::Parse(
        u"<?xml version=\"1.0\"?>\r\n<root>\n  <a> x\r\ny </a>\n  <b></b><c/><d >&lt;</d ></root>\n",
        u"root");
    ASSERT_TRUE(document);
    EXPECT_EQ(document->Field(u"a"_s), u" x\r\ny "_s);
    EXPECT_EQ(document->Field(u"c"_s), QString());
    EXPECT_EQ(document->Field(u"d"_s), u"<"_s);
    EXPECT_FALSE(document->Field(u"e"_s));
}

TEST(GatewaySimFlatXmlDocumentTest, OtherShapesAreRefused) {
    for (const auto* text :
         {u"", u"<other></other>", u"<root><a>1</a>", u"<root><a>1</b></root>",
          u"<root><a><b>1</b></a></root>", u"<root><a x=\"1\">1</a></root>", u"<root>text<a>1</a></root>",
          u"<root><a>1</a><a>2</a></root>", u"<root></root><root/>", u"<root><!-- c --></root>",
          u"<root><a>&bad;</a></root>", u"<?xml <root></root>"}) {
        EXPECT_FALSE(FlatXmlDocument::Parse(text, u"root")) << QString::fromUtf16(text).toStdString();
    }
}

const QByteArray SampleXml = SmsDocument("+15551234567", "Ann:\r\nHello &amp; bye \xE9\x80");

TEST(GatewaySimSmsRequestTest, WellFormedRequestIsRead) {
    const auto request = SmsRequest::Parse(Tlv(0x0005, "x") + SmsRequestBody(100200300, 0xBEEF, SampleXml));
    EXPECT_TRUE(request.IsReadable()) << request.Problem.toStdString();
    EXPECT_EQ(request.SenderUin, 100200300u);
    EXPECT_EQ(request.MetaSequence, 0xBEEF);
    EXPECT_EQ(request.Destination, u"+15551234567"_s);
    EXPECT_EQ(request.Text, u"Ann:\r\nHello & bye \u00E9\u20AC"_s);
}

TEST(GatewaySimSmsRequestTest, SpoiledRequestsAreUnreadableButKeepTheirSequence) {
    const auto set = [](const qsizetype at, const QByteArray& value) {
        return [=](QByteArray& meta) {
            meta.replace(at, value.size(), value);
        };
    };
    const auto xmlSize = static_cast<quint16>(SampleXml.size());
    const std::pair<const char*, std::function<void(QByteArray&)>> cases[] = {
        {"size one short", set(SmsMetaOffset::Size, Le16(static_cast<quint16>(xmlSize + 33)))},
        {"size big-endian", set(SmsMetaOffset::Size, Be16(static_cast<quint16>(xmlSize + 34)))},
        {"meta type", set(SmsMetaOffset::Type, Hex("D107"))},
        {"meta subtype big-endian", set(SmsMetaOffset::Subtype, Hex("1482"))},
        {"fixed block", set(SmsMetaOffset::FixedBlock + 21, Hex("01"))},
        {"XML length too large", set(SmsMetaOffset::XmlLength, Be16(static_cast<quint16>(xmlSize + 1)))},
        {"XML length little-endian", set(SmsMetaOffset::XmlLength, Le16(xmlSize))},
        {"XML malformed", set(SmsMetaOffset::Xml + 1, "x")},
        {"XML without text",
         [](QByteArray& meta) {
             meta.replace("text>", "txet>");
         }},
        {"XML terminated",
         [](QByteArray& meta) {
             meta.append('\0');
             meta.replace(0, 2, Le16(static_cast<quint16>(meta.size() - 2)));
         }},
    };
    for (const auto& [name, spoil] : cases) {
        auto meta = SmsMetaBlock(100200300, 0x1234, SampleXml);
        spoil(meta);
        const auto request = SmsRequest::Parse(Tlv(0x0001, meta));
        EXPECT_FALSE(request.IsReadable()) << name;
        EXPECT_EQ(request.MetaSequence, 0x1234) << name;
    }
    const auto full = SmsMetaBlock(1, 0x1234, SampleXml);
    for (const auto& body :
         {QByteArray(), Hex("0002 0000"), Tlv(0x0001, full.first(9)), Tlv(0x0001, full).chopped(1)}) {
        EXPECT_FALSE(SmsRequest::Parse(body).IsReadable()) << body.toHex().toStdString();
    }
}

TEST(GatewaySimDeliveryPolicyTest, ByNumberWantsSevenToFifteenAsciiDigitsAfterAnOptionalPlus) {
    const DeliveryPolicy byNumber(DeliveryPolicy::Mode::ByNumber);
    for (const auto* yes : {u"1234567", u"+1234567", u"123456789012345", u"+123456789012345"}) {
        EXPECT_EQ(byNumber.AnswerFor(yes), DeliveryPolicy::Answer::Deliverable)
            << QString::fromUtf16(yes).toStdString();
    }
    for (const auto* no :
         {u"123456", u"+123456", u"1234567890123456", u"++1234567", u"+", u"", u"123 4567", u"1234567+",
          u"12345a7", u" 1234567", u"\u0661\u0662\u0663\u0664\u0665\u0666\u0667"}) {
        EXPECT_EQ(byNumber.AnswerFor(no), DeliveryPolicy::Answer::NotDeliverable)
            << QString::fromUtf16(no).toStdString();
    }
}

TEST(GatewaySimDeliveryPolicyTest, EveryRuleAnswersNumbersOthersAndUnreadableRequests) {
    using enum DeliveryPolicy::Answer;
    struct Case {
        const char* Rule;
        DeliveryPolicy::Answer Number, Other, Unreadable;
    };
    const Case cases[] = {
        {"always", Deliverable, Deliverable, NotDeliverable},
        {"never", NotDeliverable, NotDeliverable, NotDeliverable},
        {"by-number", Deliverable, NotDeliverable, NotDeliverable},
        {"refuse", Refusal, Refusal, Refusal},
        {"silent", None, None, None},
    };
    for (const auto& [rule, number, other, unreadable] : cases) {
        const auto mode = DeliveryPolicy::ModeFromName(QString::fromLatin1(rule));
        ASSERT_TRUE(mode) << rule;
        const DeliveryPolicy policy(*mode);
        EXPECT_EQ(policy.AnswerFor(u"+15551234567"), number) << rule;
        EXPECT_EQ(policy.AnswerFor(u"nobody"), other) << rule;
        EXPECT_EQ(policy.AnswerForUnreadable(), unreadable) << rule;
    }
    EXPECT_FALSE(DeliveryPolicy::ModeFromName(u"Refuse"));
}

TEST(GatewaySimSmsResponseTest, RefusalIsTheAnswerOfAServerWithoutAnSmsGateway) {
    // TLV 1 of 60 bytes; chunk size 58; UIN 100200300, type 0x07DA, sequence 0xBEEF, subtype 1, all
    // little-endian; result 0x46; the text with its zero and no length.
    const QByteArray expected = Hex("0001 003C 3A00 6CEFF805 DA07 EFBE 0100 46"
                                    "536F7272792C2062757420534D53206D65737361676573206E6F7420696D706C656D"
                                    "656E746564207965742E2E2E 00");
    EXPECT_EQ(SmsResponse::RefusalSnacBody(100200300, 0xBEEF), expected);
}

TEST(GatewaySimReporterTest, EscapingKeepsOneRequestOnOneLine) {
    EXPECT_EQ(Reporter::EscapeForOneLine(u"a\\b\r\nc\n\\n\t\u00E9"), u"a\\\\b\\r\\nc\\n\\\\n\t\u00E9"_s);
}

} // namespace
