// The registry tool's command line over arbitrary bytes, cut into arguments at NUL bytes. Every
// accepted command must be one the tool can carry out as read: a known root, and for `set` data
// that shows as text which reads back as the same bytes.

#include "arguments.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool KnownRoot(HKEY root) {
    return root == HKEY_CLASSES_ROOT || root == HKEY_CURRENT_USER || root == HKEY_LOCAL_MACHINE ||
           root == HKEY_USERS;
}

void CheckCommand(const Command& command, std::span<const std::string_view> arguments) {
    using Kind = Command::Kind;
    if (command.kind == Kind::Where || command.kind == Kind::Help ||
        command.kind == Kind::Version) {
        Require(arguments.size() == 1);
        return;
    }
    Require(KnownRoot(command.key.root) && command.shown == arguments[1]);
    const auto cut = command.shown.find('\\');
    Require(command.key.path == (cut == std::string::npos ? "" : command.shown.substr(cut + 1)));
    if (command.kind != Command::Kind::Set) {
        Require(command.data.empty());
        return;
    }
    Require(ParseTypeName(TypeName(command.type)) == command.type);
    const std::string shown = DataText(command.type, command.data);
    if (command.type == REG_DWORD) {
        // Shown as "0x%08x (%u)": each half reads back as the number.
        Require(command.data.size() == 4 && shown.size() > 12 && shown.back() == ')');
        Require(ParseDataText(REG_DWORD, shown.substr(0, 10)) == command.data);
        Require(ParseDataText(REG_DWORD, shown.substr(12, shown.size() - 13)) == command.data);
        return;
    }
    if (command.type == REG_SZ) {
        Require(!command.data.empty() && command.data.back() == 0);
    }
    Require(ParseDataText(command.type, shown) == command.data);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> arguments;
    for (std::size_t start = 0; start <= input.size();) {
        const std::size_t end = std::min(input.find('\0', start), input.size());
        arguments.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    const auto parsed = ParseCommandLine(arguments);
    if (const auto* command = std::get_if<Command>(&parsed)) {
        CheckCommand(*command, arguments);
    }
    // The printers take any bytes the store may hold, of any type.
    const std::vector<BYTE> bytes(data, data + size);
    for (const DWORD type : {DWORD{REG_NONE}, DWORD{REG_SZ}, DWORD{REG_EXPAND_SZ},
                             DWORD{REG_BINARY}, DWORD{REG_DWORD}, DWORD{0xFFFFFFFFu}}) {
        const std::string shown = DataText(type, bytes);
        if (type == REG_BINARY) {
            Require(ParseDataText(REG_BINARY, shown) == bytes);
        }
    }
    Require(!StatusName(static_cast<LONG>(size)).empty());
    return 0;
}
