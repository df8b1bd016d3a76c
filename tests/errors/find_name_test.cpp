// The name syntax of the errlookup tool.

#include "find_name.h"

#include <gtest/gtest.h>

namespace {

using Codes = std::vector<std::uint32_t>;

TEST(CodesNamed, NamesInAnyCaseGiveEveryCodeTheyName) {
    EXPECT_EQ(CodesNamed("DSERR_BUFFERLOST"), Codes{0x88780096u});
    EXPECT_EQ(CodesNamed("dserr_BufferLost"), Codes{0x88780096u});
    EXPECT_EQ(CodesNamed("E_FAIL"), Codes{0x80004005u});
    // A Win32 name names its plain value and its result form; a joined entry names each part.
    EXPECT_EQ(CodesNamed("error_file_not_found"), (Codes{0x2u, 0x80070002u}));
    EXPECT_EQ(CodesNamed("DIERR_NOTACQUIRED"), (Codes{0xCu, 0x8007000Cu}));
    EXPECT_EQ(CodesNamed("ERROR_INVALID_ACCESS"), (Codes{0xCu, 0x8007000Cu}));
    EXPECT_EQ(CodesNamed("VFW_E_INVALIDSUBTYPE"), Codes{0x80040201u});
    EXPECT_EQ(CodesNamed("DMO_E_INVALIDSTREAMINDEX"), Codes{0x80040201u});
    // The result form's own name is not the plain value's.
    EXPECT_EQ(CodesNamed("E_ACCESSDENIED"), Codes{0x80070005u});
    EXPECT_EQ(CodesNamed("ERROR_ACCESS_DENIED"), Codes{0x5u});
    EXPECT_EQ(CodesNamed("DIERR_DRIVERFIRST"), Codes{0x80040300u});
    EXPECT_EQ(CodesNamed("DIERR_DRIVERFIRST+1"), Codes{0x80040301u});
}

TEST(CodesNamed, OnlyAWholeNameNamesACode) {
    for (const char* text :
         {"", "Unknown", "DSERR_BUFFER", "DSERR_BUFFERLOST ", " DSERR_BUFFERLOST", "DSERR",
          "ERROR_INVALID_ACCESS & DIERR_NOTACQUIRED", "&", " & ", "DIERR_DRIVERFIRST+6"}) {
        EXPECT_EQ(CodesNamed(text), Codes{}) << '"' << text << '"';
    }
}

} // namespace
