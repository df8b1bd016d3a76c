// quillerby-reg: the registry from the command line.

#include "arguments.h"
#include "quillerby_version.h"
#include "winapi/registry_store.h"

#include <cstdio>

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char kUsageText[] =
    "usage: quillerby-reg --help | --version\n"
    "       quillerby-reg list KEY                 subkeys (ending in \\) and values\n"
    "       quillerby-reg get KEY [VALUE]          one value; no VALUE: the default value\n"
    "       quillerby-reg set KEY VALUE TYPE DATA  TYPE: REG_SZ, REG_DWORD or REG_BINARY\n"
    "       quillerby-reg delete KEY VALUE\n"
    "       quillerby-reg delete-key KEY           a key without subkeys\n"
    "       quillerby-reg where                    the folder that holds the store\n"
    "KEY is ROOT\\path, ROOT one of HKLM, HKCU, HKCR, HKU or their long names. Example:\n"
    "  quillerby-reg set 'HKLM\\Software\\Microsoft\\DirectX SDK' 'DX9D4SDK Samples Path' REG_SZ "
    "/opt/sdk\n"
    "The store is in $WINAPI_REGISTRY_DIR, else $XDG_CONFIG_HOME/quillerby/registry, else\n"
    "~/.config/quillerby/registry.\n";

int Usage() {
    std::fputs(kUsageText, stderr);
    return kUsage;
}

int Failed(const char* what, const std::string& name, LONG status) {
    std::fprintf(stderr, "quillerby-reg: %s %s: %s\n", what, name.c_str(),
                 StatusName(status).c_str());
    return kFailed;
}

std::string Shown(const std::string& valueName) {
    return valueName.empty() ? "(default)" : valueName;
}

struct OpenedKey {
    HKEY key = nullptr;
    ~OpenedKey() {
        if (key != nullptr) {
            RegCloseKey(key);
        }
    }
};

LONG Open(const KeyArgument& argument, REGSAM access, OpenedKey& opened) {
    return RegOpenKeyExA(argument.root, argument.path.c_str(), 0, access, &opened.key);
}

// The value's type and bytes, read with a size query first.
LONG ReadValue(HKEY key, DWORD index, std::string& name, DWORD& type, std::vector<BYTE>& data) {
    char nameBuffer[16384];
    DWORD nameChars = sizeof nameBuffer;
    DWORD size = 0;
    LONG status = RegEnumValueA(key, index, nameBuffer, &nameChars, nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    name = nameBuffer;
    data.resize(size);
    nameChars = sizeof nameBuffer;
    status = RegEnumValueA(key, index, nameBuffer, &nameChars, nullptr, &type, data.data(), &size);
    data.resize(size);
    return status;
}

int List(const KeyArgument& argument, const std::string& shown) {
    OpenedKey opened;
    if (const LONG status = Open(argument, KEY_READ, opened); status != ERROR_SUCCESS) {
        return Failed("cannot open", shown, status);
    }
    char name[256];
    LONG status = ERROR_SUCCESS;
    for (DWORD i = 0; (status = RegEnumKeyA(opened.key, i, name, sizeof name)) == ERROR_SUCCESS;
         ++i) {
        std::printf("%s\\\n", name);
    }
    if (status != ERROR_NO_MORE_ITEMS) {
        return Failed("cannot list", shown, status);
    }
    std::string valueName;
    DWORD type = 0;
    std::vector<BYTE> data;
    for (DWORD i = 0; (status = ReadValue(opened.key, i, valueName, type, data)) == ERROR_SUCCESS;
         ++i) {
        std::printf("%s\t%s\t%s\n", Shown(valueName).c_str(), TypeName(type).c_str(),
                    DataText(type, data).c_str());
    }
    return status == ERROR_NO_MORE_ITEMS ? 0 : Failed("cannot list", shown, status);
}

int Get(const KeyArgument& argument, const std::string& shown, const std::string& valueName) {
    OpenedKey opened;
    if (const LONG status = Open(argument, KEY_QUERY_VALUE, opened); status != ERROR_SUCCESS) {
        return Failed("cannot open", shown, status);
    }
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExA(opened.key, valueName.c_str(), nullptr, &type, nullptr, &size);
    std::vector<BYTE> data(size);
    if (status == ERROR_SUCCESS) {
        status =
            RegQueryValueExA(opened.key, valueName.c_str(), nullptr, &type, data.data(), &size);
        data.resize(size);
    }
    if (status != ERROR_SUCCESS) {
        return Failed("cannot read", shown + " " + Shown(valueName), status);
    }
    std::printf("%s\t%s\n", TypeName(type).c_str(), DataText(type, data).c_str());
    return 0;
}

int Set(const Command& command) {
    OpenedKey opened;
    LONG status = RegCreateKeyExA(command.key.root, command.key.path.c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &opened.key, nullptr);
    if (status != ERROR_SUCCESS) {
        return Failed("cannot create", command.shown, status);
    }
    status = RegSetValueExA(opened.key, command.valueName.c_str(), 0, command.type,
                            command.data.data(), static_cast<DWORD>(command.data.size()));
    return status == ERROR_SUCCESS
               ? 0
               : Failed("cannot set", command.shown + " " + Shown(command.valueName), status);
}

int Delete(const KeyArgument& argument, const std::string& shown, const std::string& valueName) {
    OpenedKey opened;
    if (const LONG status = Open(argument, KEY_SET_VALUE, opened); status != ERROR_SUCCESS) {
        return Failed("cannot open", shown, status);
    }
    const LONG status = RegDeleteValueA(opened.key, valueName.c_str());
    return status == ERROR_SUCCESS
               ? 0
               : Failed("cannot delete", shown + " " + Shown(valueName), status);
}

int DeleteKey(const KeyArgument& argument, const std::string& shown) {
    const LONG status = RegDeleteKeyA(argument.root, argument.path.c_str());
    return status == ERROR_SUCCESS ? 0 : Failed("cannot delete", shown, status);
}

// False, after saying which folder and why, when the store's folder is refused. The operations
// would only answer ERROR_ACCESS_DENIED.
bool StoreFolderUsable(const std::string& folder) {
    const std::string reason = winapi::RegistryStoreFolderRefusal(folder);
    if (reason.empty()) {
        return true;
    }
    std::fprintf(stderr, "quillerby-reg: refusing the store folder %s: %s\n", folder.c_str(),
                 reason.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const auto parsed = ParseCommandLine(arguments);
    if (const auto* problem = std::get_if<std::string>(&parsed)) {
        if (problem->empty()) {
            return Usage();
        }
        std::fprintf(stderr, "quillerby-reg: %s\n", problem->c_str());
        return kUsage;
    }
    const Command& command = std::get<Command>(parsed);
    if (command.kind == Command::Kind::Help) {
        std::fputs(kUsageText, stdout);
        return 0;
    }
    if (command.kind == Command::Kind::Version) {
        std::printf("quillerby-reg %s\n", kQuillerbyVersion);
        return 0;
    }
    const std::string folder = winapi::RegistryStoreFolder();
    if (command.kind == Command::Kind::Where) {
        std::printf("%s\n", folder.empty() ? "(no location: set WINAPI_REGISTRY_DIR or HOME)"
                                           : folder.c_str());
        return folder.empty() || !StoreFolderUsable(folder) ? kFailed : 0;
    }
    if (!StoreFolderUsable(folder)) {
        return kFailed;
    }
    switch (command.kind) {
    case Command::Kind::List:
        return List(command.key, command.shown);
    case Command::Kind::Get:
        return Get(command.key, command.shown, command.valueName);
    case Command::Kind::Set:
        return Set(command);
    case Command::Kind::Delete:
        return Delete(command.key, command.shown, command.valueName);
    case Command::Kind::DeleteKey:
        return DeleteKey(command.key, command.shown);
    case Command::Kind::Where:
    case Command::Kind::Help:
    case Command::Kind::Version:
        break;
    }
    return Usage();
}
