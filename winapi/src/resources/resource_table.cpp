#include "resources/injected_failures.h"
#include "winapi/errhandlingapi.h"
#include "winapi/resources.h"

#include <cctype>
#include <list>
#include <mutex>
#include <string>

namespace {

struct Resource {
    std::string type;
    std::string name;
    const void* data;
    DWORD size;
};

struct ResourceTable {
    std::mutex lock;
    std::list<Resource> resources; // a list keeps the HRSRC of each entry stable
};

ResourceTable& Table() {
    static ResourceTable table;
    return table;
}

// Names compare without regard to case; integer ids become "#<id>", as the platform spells them.
std::string Key(LPCSTR nameOrId) {
    if (IS_INTRESOURCE(nameOrId))
        return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(nameOrId));
    std::string key(nameOrId);
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

const Resource* FindEntry(HRSRC handle) {
    ResourceTable& table = Table();
    std::lock_guard guard(table.lock);
    for (const Resource& resource : table.resources)
        if (reinterpret_cast<HRSRC>(const_cast<Resource*>(&resource)) == handle)
            return &resource;
    return nullptr;
}

} // namespace

namespace winapi::resources {

InjectedFailures<hooks::ResourceCall, DWORD, kResourceCalls> injectedFailures;

} // namespace winapi::resources

namespace winapi {

bool RegisterResource(const char* type, const char* name, const void* data, std::size_t size) {
    ResourceTable& table = Table();
    std::lock_guard guard(table.lock);
    Resource entry{Key(type), Key(name), data, static_cast<DWORD>(size)};
    for (Resource& resource : table.resources) {
        if (resource.type == entry.type && resource.name == entry.name) {
            resource = std::move(entry);
            return true;
        }
    }
    table.resources.push_back(std::move(entry));
    return true;
}

} // namespace winapi

HRSRC FindResourceA(HMODULE, LPCSTR lpName, LPCSTR lpType) {
    if (lpName == nullptr || lpType == nullptr)
        return nullptr;
    const std::string type = Key(lpType);
    const std::string name = Key(lpName);
    ResourceTable& table = Table();
    std::lock_guard guard(table.lock);
    for (Resource& resource : table.resources)
        if (resource.type == type && resource.name == name)
            return reinterpret_cast<HRSRC>(&resource);
    return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC hResInfo) {
    using winapi::resources::injectedFailures;
    if (const DWORD error = injectedFailures.For(winapi::hooks::ResourceCall::LoadResource)) {
        SetLastError(error);
        return nullptr;
    }
    const Resource* resource = FindEntry(hResInfo);
    return resource ? const_cast<void*>(resource->data) : nullptr;
}

DWORD SizeofResource(HMODULE, HRSRC hResInfo) {
    const Resource* resource = FindEntry(hResInfo);
    return resource ? resource->size : 0;
}

LPVOID LockResource(HGLOBAL hResData) {
    using winapi::resources::injectedFailures;
    if (const DWORD error = injectedFailures.For(winapi::hooks::ResourceCall::LockResource)) {
        SetLastError(error);
        return nullptr;
    }
    return hResData;
}

BOOL FreeResource(HGLOBAL) {
    return FALSE;
}
