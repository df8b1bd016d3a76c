#include "arguments.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <utility>

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
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

std::string HexBytes(const std::vector<BYTE>& data) {
    std::string text;
    char piece[4];
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::snprintf(piece, sizeof piece, i == 0 ? "%02x" : " %02x", data[i]);
        text += piece;
    }
    return text;
}

std::optional<std::vector<BYTE>> ParseHexBytes(std::string_view text) {
    std::vector<BYTE> bytes;
    std::string digits;
    for (const char c : text) {
        if (std::isxdigit(static_cast<unsigned char>(c))) {
            digits += c;
        } else if (c != ' ' && c != ',') {
            return std::nullopt;
        }
    }
    if (digits.size() % 2 != 0) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        BYTE byte = 0;
        std::from_chars(digits.data() + i, digits.data() + i + 2, byte, 16);
        bytes.push_back(byte);
    }
    return bytes;
}

std::optional<DWORD> ParseNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    DWORD value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string TypeName(DWORD type) {
    switch (type) {
    case REG_NONE:
        return "REG_NONE";
    case REG_SZ:
        return "REG_SZ";
    case REG_EXPAND_SZ:
        return "REG_EXPAND_SZ";
    case REG_BINARY:
        return "REG_BINARY";
    case REG_DWORD:
        return "REG_DWORD";
    default:
        return "type " + std::to_string(type);
    }
}

std::optional<DWORD> ParseTypeName(std::string_view name) {
    for (const DWORD type : {REG_SZ, REG_DWORD, REG_BINARY}) {
        const std::string full = TypeName(type);
        if (SameLetters(name, full) || SameLetters(name, std::string_view(full).substr(4))) {
            return type;
        }
    }
    return std::nullopt;
}

std::string DataText(DWORD type, const std::vector<BYTE>& data) {
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::string text(data.begin(), data.end());
        return text.substr(0, text.find('\0'));
    }
    if (type == REG_DWORD && data.size() == 4) {
        const DWORD value =
            data[0] | data[1] << 8 | data[2] << 16 | static_cast<DWORD>(data[3]) << 24;
        char text[32];
        std::snprintf(text, sizeof text, "0x%08x (%u)", value, value);
        return text;
    }
    return HexBytes(data);
}

std::optional<std::vector<BYTE>> ParseDataText(DWORD type, std::string_view text) {
    if (type == REG_SZ) {
        std::vector<BYTE> bytes(text.begin(), text.end());
        bytes.push_back(0);
        return bytes;
    }
    if (type == REG_DWORD) {
        const auto value = ParseNumber(text);
        if (!value) {
            return std::nullopt;
        }
        return std::vector<BYTE>{BYTE(*value), BYTE(*value >> 8), BYTE(*value >> 16),
                                 BYTE(*value >> 24)};
    }
    return ParseHexBytes(text);
}

std::string StatusName(LONG status) {
    switch (status) {
    case ERROR_FILE_NOT_FOUND:
        return "ERROR_FILE_NOT_FOUND";
    case ERROR_ACCESS_DENIED:
        return "ERROR_ACCESS_DENIED";
    case ERROR_INVALID_PARAMETER:
        return "ERROR_INVALID_PARAMETER";
    case ERROR_BAD_PATHNAME:
        return "ERROR_BAD_PATHNAME";
    case ERROR_BADDB:
        return "ERROR_BADDB";
    case ERROR_CANTREAD:
        return "ERROR_CANTREAD";
    case ERROR_CANTWRITE:
        return "ERROR_CANTWRITE";
    case ERROR_KEY_DELETED:
        return "ERROR_KEY_DELETED";
    default:
        return "error " + std::to_string(status);
    }
}

std::optional<KeyArgument> ParseKeyArgument(std::string_view text) {
    static const std::pair<std::string_view, HKEY> kRoots[] = {
        {"HKLM", HKEY_LOCAL_MACHINE}, {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKCU", HKEY_CURRENT_USER},  {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKCR", HKEY_CLASSES_ROOT},  {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKU", HKEY_USERS},          {"HKEY_USERS", HKEY_USERS},
    };
    const auto cut = text.find('\\');
    const std::string_view rootName = text.substr(0, cut);
    for (const auto& [name, root] : kRoots) {
        if (SameLetters(rootName, name)) {
            return KeyArgument{root,
                               std::string(cut == std::string_view::npos ? std::string_view()
                                                                         : text.substr(cut + 1))};
        }
    }
    return std::nullopt;
}

std::variant<Command, std::string> ParseCommandLine(std::span<const std::string_view> arguments) {
    using Kind = Command::Kind;
    if (arguments.size() == 1 && arguments[0] == "where") {
        return Command{};
    }
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        Command help;
        help.kind = Kind::Help;
        return help;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        Command version;
        version.kind = Kind::Version;
        return version;
    }
    if (!arguments.empty() && arguments[0].starts_with('-')) {
        return std::string(); // an option the tool does not have
    }
    if (arguments.size() < 2) {
        return std::string();
    }
    Command command;
    command.shown = std::string(arguments[1]);
    const auto key = ParseKeyArgument(arguments[1]);
    if (!key) {
        return command.shown + " does not start with a root such as HKLM\\";
    }
    command.key = *key;
    const std::string_view name = arguments[0];
    const std::size_t count = arguments.size();
    if (name == "list" && count == 2) {
        command.kind = Kind::List;
    } else if (name == "get" && (count == 2 || count == 3)) {
        command.kind = Kind::Get;
        command.valueName = count == 3 ? std::string(arguments[2]) : std::string();
    } else if (name == "delete" && count == 3) {
        command.kind = Kind::Delete;
        command.valueName = std::string(arguments[2]);
    } else if (name == "delete-key" && count == 2) {
        command.kind = Kind::DeleteKey;
    } else if (name == "set" && count == 5) {
        command.kind = Kind::Set;
        command.valueName = std::string(arguments[2]);
        const auto type = ParseTypeName(arguments[3]);
        auto data = type ? ParseDataText(*type, arguments[4]) : std::nullopt;
        if (!data) {
            return std::string(arguments[3]) + " " + std::string(arguments[4]) +
                   " is not a type and data this tool can set";
        }
        command.type = *type;
        command.data = std::move(*data);
    } else {
        return std::string();
    }
    return command;
}
