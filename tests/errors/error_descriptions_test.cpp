// Description lookups: the fixed texts, joined descriptions, names standing in for texts and the
// codes that have a name but no description.

#include "errors/error_names.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

TEST(ErrorDescription, FixedTextsOfTheGeneralAndWin32Codes) {
    const std::pair<DWORD, const char*> expected[] = {
        {0x00000000, "The function completed successfully"},
        {0x00000001, "Call successful, but returned FALSE"},
        {0x00000002, "The system cannot find the file specified."},
        {0x80070002, "The system cannot find the file specified."},
        {0x00000005, "Access is denied."},
        {0x80070005, "Access is denied"},
        {0x00000006, "The handle is invalid."},
        {0x80070006, "Invalid handle"},
        {0x0000000B, "An attempt was made to load a program with an incorrect format."},
        {0x0000000E, "Not enough storage is available to complete this operation."},
        {0x8007000E, "Ran out of memory"},
        {0x8000000A, "The data necessary to complete this operation is not yet available."},
        {0x80004005, "An undetermined error occurred"},
        {0x8000FFFF, "Catastrophic failure"},
        {0x80040110, "This object does not support aggregation"},
        {0x800401F0, "CoInitialize has not been called."},
        {0x80070057, "An invalid parameter was passed to the returning function"},
        {0x8007001E, "Access to the device has been lost.  It must be re-acquired."},
        {0x80070490, "The specified property ID is not supported for the specified property set."},
        {0x800704DF, "This object is already initialized"},
    };
    for (const auto& [code, text] : expected) {
        SCOPED_TRACE(code);
        EXPECT_STREQ(ErrorDescription(static_cast<HRESULT>(code)), text);
        EXPECT_EQ(std::u16string(ErrorDescriptionW(static_cast<HRESULT>(code))),
                  std::u16string(text, text + std::char_traits<char>::length(text)));
    }
}

TEST(ErrorDescription, MultimediaTexts) {
    EXPECT_STREQ(ErrorDescription(static_cast<HRESULT>(0x88780096)),
                 "The buffer memory has been lost, and must be restored");
    EXPECT_STREQ(ErrorDescription(static_cast<HRESULT>(0x88780064)),
                 "The specified WAVE format is not supported");
    EXPECT_STREQ(ErrorDescription(static_cast<HRESULT>(0x88780078)),
                 "No sound driver is available for use");
    EXPECT_STREQ(ErrorDescription(static_cast<HRESULT>(0x88760868)), "Device lost");
    EXPECT_STREQ(ErrorDescription(static_cast<HRESULT>(0x88760827)), "Driver internal error");
    EXPECT_STREQ(ErrorDescription(static_cast<HRESULT>(0x88760005)),
                 "This object is already initialized");
    EXPECT_STREQ(ErrorDescription(static_cast<HRESULT>(0x80158030)), "Aborted");
}

TEST(ErrorDescription, JoinedNamesJoinTheTextsTheyHave) {
    EXPECT_STREQ(ErrorDescription(static_cast<HRESULT>(0x80040201)),
                 "The device is full. & An invalid media subtype was specified.");
    // ERROR_READ_FAULT has no text of its own; only the DirectInput one is left.
    EXPECT_STREQ(ErrorDescription(static_cast<HRESULT>(0x8007001E)),
                 "Access to the device has been lost.  It must be re-acquired.");
}

TEST(ErrorDescription, NameStandsInWhereACodeHasNoTextOfItsOwn) {
    EXPECT_STREQ(ErrorDescription(static_cast<HRESULT>(0x80040301)), "DIERR_DRIVERFIRST+1");
    EXPECT_STREQ(ErrorDescription(static_cast<HRESULT>(0x80040305)), "DIERR_DRIVERFIRST+5");
    EXPECT_STREQ(ErrorDescription(static_cast<HRESULT>(0x80040408)), "MS_E_SOURCEALREADYDEFINED");
}

TEST(ErrorDescription, NamedCodesWithoutADescriptionGiveNotAvailable) {
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x80070001)), "ERROR_INVALID_FUNCTION");
    EXPECT_STREQ(ErrorDescription(static_cast<HRESULT>(0x80070001)), "n/a");
    // The DirectInput texts belong to the result forms only.
    EXPECT_STREQ(ErrorDescription(12), "n/a");
    EXPECT_STREQ(ErrorDescription(0x1E), "n/a");
    EXPECT_STREQ(ErrorDescription(static_cast<HRESULT>(0x12345678)), "n/a");
    EXPECT_EQ(std::u16string(ErrorDescriptionW(static_cast<HRESULT>(0x12345678))), u"n/a");
}

} // namespace
