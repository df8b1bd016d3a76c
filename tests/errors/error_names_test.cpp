// Name lookups: the two forms of Win32 codes, joined names, expression names and the ways the
// wide table differs from the narrow one.

#include "errors/error_names.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string Wide(HRESULT result) {
    return ErrorNameW(result);
}

TEST(ErrorName, Win32CodesHaveAPlainAndAResultFormWithTheirExceptions) {
    EXPECT_STREQ(ErrorName(0), "S_OK");
    EXPECT_STREQ(ErrorName(1), "S_FALSE");
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x80070001)), "ERROR_INVALID_FUNCTION");
    EXPECT_STREQ(ErrorName(2), "ERROR_FILE_NOT_FOUND");
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x80070002)), "ERROR_FILE_NOT_FOUND");
    EXPECT_STREQ(ErrorName(5), "ERROR_ACCESS_DENIED");
    EXPECT_STREQ(ErrorName(E_ACCESSDENIED), "E_ACCESSDENIED");
    EXPECT_STREQ(ErrorName(6), "ERROR_INVALID_HANDLE");
    EXPECT_STREQ(ErrorName(E_HANDLE), "E_HANDLE");
    EXPECT_STREQ(ErrorName(14), "ERROR_OUTOFMEMORY");
    EXPECT_STREQ(ErrorName(E_OUTOFMEMORY), "E_OUTOFMEMORY");
    EXPECT_STREQ(ErrorName(87), "ERROR_INVALID_PARAMETER");
    EXPECT_STREQ(ErrorName(E_INVALIDARG), "E_INVALIDARG");
    // The 16-bit segment errors have no result form.
    EXPECT_STREQ(ErrorName(0xC8), "ERROR_RING2SEG_MUST_BE_MOVABLE");
    EXPECT_STREQ(ErrorName(0xC9), "ERROR_RELOC_CHAIN_XEEDS_SEGLIM");
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x800700C8)), "Unknown");
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x800700C9)), "Unknown");
}

TEST(ErrorName, NamesSharingAValueAreJoined) {
    EXPECT_STREQ(ErrorName(12), "ERROR_INVALID_ACCESS & DIERR_NOTACQUIRED");
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x8007000C)),
                 "ERROR_INVALID_ACCESS & DIERR_NOTACQUIRED");
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x80040201)),
                 "DIERR_DEVICEFULL & VFW_E_INVALIDSUBTYPE & DMO_E_INVALIDSTREAMINDEX");
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x80070490)),
                 "ERROR_NOT_FOUND & E_PROP_ID_UNSUPPORTED");
    EXPECT_STREQ(ErrorName(0x00040001), "OLE_S_STATIC & MS_S_PENDING & WBEM_S_ALREADY_EXISTS");
    EXPECT_STREQ(ErrorName(0x00040002),
                 "OLE_S_MAC_CLIPFORMAT & MS_S_NOUPDATE & WBEM_S_RESET_TO_DEFAULT");
}

TEST(ErrorName, RangesAndFamiliesOfTheMultimediaHeaders) {
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x80040300)), "DIERR_DRIVERFIRST");
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x80040301)), "DIERR_DRIVERFIRST+1");
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x80040305)), "DIERR_DRIVERFIRST+5");
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x80040306)), "Unknown");
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x88780096)), "DSERR_BUFFERLOST");
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x88780064)), "DSERR_BADFORMAT");
    EXPECT_STREQ(ErrorName(0x0878000A), "DS_NO_VIRTUALIZATION");
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x88760868)), "D3DERR_DEVICELOST");
    EXPECT_STREQ(ErrorName(0x0876086F), "D3DOK_NOAUTOGEN");
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x80158030)), "DPNERR_ABORTED");
    EXPECT_STREQ(ErrorName(0x00150010), "DV_PENDING");
}

TEST(ErrorName, CodesAreComparedAsWhole32BitValues) {
    EXPECT_STREQ(ErrorName(E_FAIL), "E_FAIL");
    // The same facility and code with other severity bits are different codes.
    EXPECT_STREQ(ErrorName(0x00004005), "Unknown");
    EXPECT_STREQ(ErrorName(0x08780096), "Unknown");
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0xFFFFFFFF)), "Unknown");
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x80000000)), "Unknown");
    EXPECT_EQ(Wide(static_cast<HRESULT>(0xFFFFFFFF)), u"Unknown");
}

TEST(ErrorNameW, LacksTheNewerWin32CodesInBothForms) {
    for (const DWORD code :
         {0x043Cu, 0x2593u, 0x2594u, 0x2595u, 0x26ACu, 0x26ADu, 0x26AEu, 0x26AFu, 0x26B0u}) {
        SCOPED_TRACE(code);
        EXPECT_STRNE(ErrorName(static_cast<HRESULT>(code)), "Unknown");
        EXPECT_STRNE(ErrorName(HRESULT_FROM_WIN32(code)), "Unknown");
        EXPECT_EQ(Wide(static_cast<HRESULT>(code)), u"Unknown");
        EXPECT_EQ(Wide(HRESULT_FROM_WIN32(code)), u"Unknown");
    }
    EXPECT_STREQ(ErrorName(static_cast<HRESULT>(0x8007043C)), "ERROR_NOT_SAFEBOOT_SERVICE");
    EXPECT_EQ(Wide(0x26B1), u"DNS_ERROR_DP_NOT_AVAILABLE");
}

TEST(ErrorNameW, JoinsLackTheNewerManagementNames) {
    EXPECT_EQ(Wide(0x00040001), u"OLE_S_STATIC & MS_S_PENDING");
    EXPECT_EQ(Wide(0x00040002), u"OLE_S_MAC_CLIPFORMAT & MS_S_NOUPDATE");
    EXPECT_EQ(Wide(0x00040003), u"MS_S_ENDOFSTREAM & WBEM_S_DIFFERENT");
    EXPECT_EQ(Wide(static_cast<HRESULT>(0x88780096)), u"DSERR_BUFFERLOST");
}

} // namespace
