#include "find_name.h"

#include "errors/error_tables.h"

#include <cctype>

namespace {

constexpr std::string_view kJoin = " & ";

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

bool EntryHolds(std::string_view names, std::string_view name) {
    for (;;) {
        const std::size_t cut = names.find(kJoin);
        if (SameName(names.substr(0, cut), name)) {
            return true;
        }
        if (cut == std::string_view::npos) {
            return false;
        }
        names.remove_prefix(cut + kJoin.size());
    }
}

} // namespace

// A scan of the whole table: a few thousand entries, once for each name on a command line.
std::vector<std::uint32_t> CodesNamed(std::string_view name) {
    std::vector<std::uint32_t> codes;
    if (name.empty()) {
        return codes;
    }
    for (const auto& entry : error_tables::NarrowNames()) {
        if (EntryHolds(entry.text, name)) {
            codes.push_back(entry.code);
        }
    }
    return codes;
}
