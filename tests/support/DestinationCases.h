#pragma once

// Entries of the number box and where they send, one table for the window and the command line: the name and
// the number as sent, or the line that refuses the entry.
namespace pagewing::test {

struct DestinationCase {
    const char* Entry;
    const char* Name;
    const char* Number;
    // Empty where the entry is sent.
    const char* Refusal;
};

inline constexpr DestinationCase DestinationCases[] = {
    {"+1 (555) 123-4567", "", "+15551234567", ""},
    {"Ann Lee +1 555 123 4567", "Ann Lee", "+15551234567", ""},
    {"Ann 0123456789", "Ann", "0123456789", ""},
    {" +44 (20) 7946-0000 ", "", "+442079460000", ""},
    {"Smith, Ann (555)-0100", "Smith, Ann", "5550100", ""},
    {"Ann (work) 555.0100", "Ann (work)", "5550100", ""},
    {"12345678901234567890", "", "12345678901234567890", ""},
    {"Ann 555", "Ann", "555", ""},
    {"", "", "", "No number to send to"},
    {"Ann Lee", "", "", "Not a phone number: Ann Lee"},
    {"Ann 55", "", "", "Not a phone number: Ann 55"},
    {"123456789012345678901", "", "", "Not a phone number: 123456789012345678901"},
    {"Ann 555+0100", "", "", "Not a phone number: Ann 555+0100"},
    {"Ann 5550100x", "", "", "Not a phone number: Ann 5550100x"},
    {"Ann555 0100", "", "", "Not a phone number: Ann555 0100"},
    {"555,556", "", "", "Not a phone number: 555,556"},
};

} // namespace pagewing::test
