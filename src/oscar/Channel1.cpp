#include "oscar/Channel1.h"

namespace pagewing {

void Channel1::LogInToICQString(const std::u16string& UIN, const std::u16string& Password) {
    Data.ClearDataByteArray();
    AppendFlapVersion();

    Data.AppendAfterDataByteArrayWithHexString(u"0001");
    Data.AppendAfterDataByteArrayWithNumber(Length16(UIN.size()), 2);
    Data.AppendAfterDataByteArrayWithString(UIN);

    Data.AppendAfterDataByteArrayWithHexString(u"0002");
    Data.AppendAfterDataByteArrayWithNumber(Length16(Password.size()), 2);
    Data.AppendAfterDataByteArrayWithPassWordString(Password);

    Data.AppendAfterDataByteArrayWithHexString(u"0003");
    Data.AppendAfterDataByteArrayWithNumber(Length16(ClientIdentification.size()), 2);
    Data.AppendAfterDataByteArrayWithString(ClientIdentification);

    // Client id, major, minor and lesser version, build number, then the distribution number.
    for (const auto* tlv : {u"0016"
                            u"0002"
                            u"010A",
                            u"0017"
                            u"0002"
                            u"0005",
                            u"0018"
                            u"0002"
                            u"000F",
                            u"0019"
                            u"0002"
                            u"0001",
                            u"001A"
                            u"0002"
                            u"0032",
                            u"0014"
                            u"0004"
                            u"00000055"}) {
        Data.AppendAfterDataByteArrayWithHexString(tlv);
    }
    // Language before country, as the official client sends them.
    Data.AppendAfterDataByteArrayWithHexString(u"000F0002");
    Data.AppendAfterDataByteArrayWithString(u"en");
    Data.AppendAfterDataByteArrayWithHexString(u"000E0002");
    Data.AppendAfterDataByteArrayWithString(u"us");

    Frame(u"2A01", true);
}

void Channel1::SendCookieToICQString(std::span<const std::uint8_t> Cookie) {
    Data.ClearDataByteArray();
    AppendFlapVersion();
    Data.AppendAfterDataByteArrayWithHexString(u"0006");
    Data.AppendAfterDataByteArrayWithNumber(Length16(Cookie.size()), 2);
    Data.AppendAfterDataByteArrayWithByteArray(Cookie);
    Frame(u"2A01", true);
}

void Channel1::AppendFlapVersion() {
    Data.AppendAfterDataByteArrayWithHexString(u"0000");
    Data.AppendAfterDataByteArrayWithHexString(u"0001");
}

} // namespace pagewing
