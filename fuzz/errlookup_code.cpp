// The lookup tool's code and name readers over arbitrary text. Whatever the code reader accepts
// must be one of its three spellings and must read back the same in each of them; a spelling of a
// value that it refused must not name a code. A name must name only codes whose entry holds it,
// and the code reader's code must be found again by its name.

#include "errors/error_names.h"
#include "find_name.h"
#include "parse_code.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool AllDigits(std::string_view text, bool hex) {
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (hex ? std::isxdigit(u) == 0 : std::isdigit(u) == 0) {
            return false;
        }
    }
    return true;
}

bool WellSpelled(std::string_view text) {
    if (text.starts_with("0x") || text.starts_with("0X")) {
        return AllDigits(text.substr(2), true);
    }
    if (text.starts_with('-')) {
        return AllDigits(text.substr(1), false);
    }
    return AllDigits(text, false);
}

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Whether the entry's names, joined by " & ", hold the name in any case.
bool EntryHolds(std::string entry, std::string name) {
    for (std::string* text : {&entry, &name}) {
        for (char& c : *text) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    entry = " & " + entry + " & ";
    return entry.find(" & " + name + " & ") != std::string::npos;
}

void CheckName(std::string_view text) {
    const std::vector<std::uint32_t> codes = CodesNamed(text);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        Require(i == 0 || codes[i - 1] < codes[i]);
        Require(EntryHolds(ErrorName(static_cast<HRESULT>(codes[i])), std::string(text)));
    }
}

// Each name of the code's entry names the code.
void CheckCodeFoundByName(std::uint32_t code) {
    const std::string_view entry = ErrorName(static_cast<HRESULT>(code));
    if (entry == "Unknown") {
        return;
    }
    const std::string_view first = entry.substr(0, entry.find(" & "));
    const std::vector<std::uint32_t> codes = CodesNamed(first);
    Require(std::find(codes.begin(), codes.end(), code) != codes.end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckName(text);
    const std::optional<std::uint32_t> code = ParseCode(text);
    if (!code) {
        return 0;
    }
    CheckCodeFoundByName(*code);
    Require(WellSpelled(text));
    char spelled[32];
    std::snprintf(spelled, sizeof spelled, "0x%08x", *code);
    Require(ParseCode(spelled) == code);
    std::snprintf(spelled, sizeof spelled, "0X%X", *code);
    Require(ParseCode(spelled) == code);
    Require(ParseCode(std::to_string(*code)) == code);
    // Every code with the top bit set is also a negative number, and no other code is.
    const auto negative = std::to_string(-static_cast<std::int64_t>(std::uint32_t(0) - *code));
    Require(ParseCode(negative) == (*code >= 0x80000000u || *code == 0 ? code : std::nullopt));
    // One more than the largest code, in either base, is refused.
    Require(!ParseCode("4294967296") && !ParseCode("0x100000000") && !ParseCode("-2147483649"));
    return 0;
}
