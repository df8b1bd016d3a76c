#include "util/guid_text.h"

#include "util/bounded_string.h"

#include <gtest/gtest.h>

namespace {

const GUID kSample = {0x01234567, 0x89AB, 0xCDEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};

TEST(GuidText, IsBracedUppercaseHexWithLeadingZeros) {
    char text[kGuidTextLength + 1];
    EXPECT_EQ(GuidToText(kSample, text, sizeof text), S_OK);
    EXPECT_STREQ(text, "{01234567-89AB-CDEF-0123-456789ABCDEF}");
    const GUID small = {1, 2, 3, {0, 0, 0, 0, 0, 0, 0, 0x0A}};
    EXPECT_EQ(GuidToTextBytes(small, text, sizeof text), S_OK);
    EXPECT_STREQ(text, "{00000001-0002-0003-0000-00000000000A}");
}

TEST(GuidText, ASmallDestinationGetsTheCutText) {
    char text[kGuidTextLength];
    EXPECT_EQ(GuidToText(kSample, text, sizeof text), kInsufficientBuffer);
    EXPECT_STREQ(text, "{01234567-89AB-CDEF-0123-456789ABCDEF");
    EXPECT_EQ(GuidToText(kSample, text, 0), E_INVALIDARG);
    EXPECT_EQ(GuidToText(kSample, nullptr, 39), E_INVALIDARG);
}

TEST(GuidText, ReadsBackWhatItWritesInEitherCaseAndShortFields) {
    GUID guid{};
    EXPECT_EQ(GuidFromText("{01234567-89AB-CDEF-0123-456789ABCDEF}", &guid), S_OK);
    EXPECT_EQ(guid, kSample);
    EXPECT_EQ(GuidFromText("{01234567-89ab-cdef-0123-456789abcdef}", &guid), S_OK);
    EXPECT_EQ(guid, kSample);
    EXPECT_EQ(GuidFromText("{1-2-3-0405-060708090A0B}", &guid), S_OK);
    EXPECT_EQ(guid, (GUID{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}));
}

TEST(GuidText, TextWithoutAllElevenFieldsGivesAZeroGuid) {
    const char* bad[] = {
        "01234567-89AB-CDEF-0123-456789ABCDEF", // no braces
        "{01234567-89AB-CDEF-0123-456789ABCD}", // one byte short
        "{01234567-89AB-CDEF-0123}",
        "{0123456Z-89AB-CDEF-0123-456789ABCDEF}",
        "",
        nullptr,
    };
    for (const char* text : bad) {
        GUID guid = kSample;
        EXPECT_EQ(GuidFromText(text, &guid), E_FAIL) << (text ? text : "(null)");
        EXPECT_EQ(guid, GUID{}) << (text ? text : "(null)");
    }
    EXPECT_EQ(GuidFromText("{01234567-89AB-CDEF-0123-456789ABCDEF}", nullptr), E_INVALIDARG);
}

} // namespace
