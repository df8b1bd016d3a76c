#include "find_name.h"

#include "errors/error_tables.h"

#include <cctype>
#include <string>
#include <unordered_map>

namespace {

constexpr std::string_view kJoin = " & ";

using NameIndex = std::unordered_map<std::string, std::vector<std::uint32_t>>;

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

// Every name of the narrow table, in capitals, with the codes whose entries hold it; the table
// rises by code, so each list does too.
NameIndex BuildIndex() {
    NameIndex index;
    for (const auto& entry : error_tables::NarrowNames()) {
        std::string_view names = entry.text;
        for (;;) {
            const std::size_t cut = names.find(kJoin);
            index[Upper(names.substr(0, cut))].push_back(entry.code);
            if (cut == std::string_view::npos) {
                break;
            }
            names.remove_prefix(cut + kJoin.size());
        }
    }
    return index;
}

} // namespace

std::vector<std::uint32_t> CodesNamed(std::string_view name) {
    static const NameIndex index = BuildIndex();
    if (name.empty()) {
        return {};
    }
    const auto found = index.find(Upper(name));
    return found == index.end() ? std::vector<std::uint32_t>{} : found->second;
}
