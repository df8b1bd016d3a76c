#include "sync/kernel_object.h"

#include <winapi/synchapi.h>

#include <unordered_map>

namespace winapi::sync {
namespace {

struct HandleTable {
    std::mutex lock;
    std::unordered_map<UINT_PTR, std::shared_ptr<KernelObject>> objects;
    // Handle values are never reused, so a stale handle is reported instead of naming a newer
    // object. They are multiples of 4 as on the platform and far from the small integers.
    UINT_PTR nextValue = 0x1000;
};

HandleTable& Table() {
    static HandleTable table;
    return table;
}

} // namespace

HANDLE RegisterHandle(std::shared_ptr<KernelObject> object) {
    HandleTable& table = Table();
    std::lock_guard guard(table.lock);
    const UINT_PTR value = table.nextValue;
    table.nextValue += 4;
    table.objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> FindHandle(HANDLE handle) {
    HandleTable& table = Table();
    std::lock_guard guard(table.lock);
    const auto found = table.objects.find(reinterpret_cast<UINT_PTR>(handle));
    return found == table.objects.end() ? nullptr : found->second;
}

} // namespace winapi::sync

BOOL CloseHandle(HANDLE hObject) {
    using namespace winapi::sync;
    std::shared_ptr<KernelObject> closed;
    HandleTable& table = Table();
    {
        std::lock_guard guard(table.lock);
        const auto found = table.objects.find(reinterpret_cast<UINT_PTR>(hObject));
        if (found == table.objects.end())
            return FALSE;
        closed = std::move(found->second);
        table.objects.erase(found);
    }
    // The object dies here, outside the table's lock, unless a waiter still holds it.
    return TRUE;
}
