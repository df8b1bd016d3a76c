// Name and description lookups: a binary search over the sorted constant tables.

#include "errors/error_names.h"

#include "errors/error_tables.h"

#include <algorithm>

namespace {

template <typename Char>
const Char* Find(std::span<const error_tables::TableEntry<Char>> table, HRESULT result,
                 const Char* missing) {
    // Codes are compared as whole unsigned 32-bit values, the order the tables are sorted in.
    const auto code = static_cast<std::uint32_t>(result);
    const auto entry = std::lower_bound(
        table.begin(), table.end(), code,
        [](const error_tables::TableEntry<Char>& e, std::uint32_t c) { return e.code < c; });
    return entry != table.end() && entry->code == code ? entry->text : missing;
}

} // namespace

const char* ErrorName(HRESULT result) {
    return Find(error_tables::NarrowNames(), result, "Unknown");
}

const WCHAR* ErrorNameW(HRESULT result) {
    return Find(error_tables::WideNames(), result, u"Unknown");
}

const char* ErrorDescription(HRESULT result) {
    return Find(error_tables::NarrowDescriptions(), result, "n/a");
}

const WCHAR* ErrorDescriptionW(HRESULT result) {
    return Find(error_tables::WideDescriptions(), result, u"n/a");
}
