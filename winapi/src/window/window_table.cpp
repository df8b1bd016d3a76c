#include "window/window_table.h"

#include <SDL.h>
#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <strings.h>

namespace winapi::window {
namespace {

std::vector<WindowClass> classes;
// Guards windows, creationOrder and each record's `visible`. The program's thread takes it to
// change them; it reads them without it, being the only writer.
std::mutex windowsLock;
std::map<HWND, std::unique_ptr<Window>> windows;
std::vector<HWND> creationOrder;
ATOM nextAtom = 0xC000;
std::uintptr_t nextHandle = 0x10000;

bool IsAtom(LPCSTR nameOrAtom) {
    return reinterpret_cast<std::uintptr_t>(nameOrAtom) < 0x10000;
}

bool Matches(const WindowClass& windowClass, LPCSTR nameOrAtom) {
    if (IsAtom(nameOrAtom)) {
        return windowClass.atom == static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(nameOrAtom));
    }
    return strcasecmp(windowClass.name.c_str(), nameOrAtom) == 0;
}

void CloseNative(Window& window) {
    if (window.beforeNativeClose) {
        auto letGo = std::move(window.beforeNativeClose);
        window.beforeNativeClose = nullptr;
        letGo();
    }
    if (window.native != nullptr) {
        SDL_DestroyWindow(window.native);
        window.native = nullptr;
    }
}

} // namespace

WindowClass* FindClass(LPCSTR nameOrAtom) {
    if (nameOrAtom == nullptr) {
        return nullptr;
    }
    auto found = std::find_if(classes.begin(), classes.end(),
                              [&](const WindowClass& c) { return Matches(c, nameOrAtom); });
    return found == classes.end() ? nullptr : &*found;
}

ATOM AddClass(WindowClass windowClass) {
    windowClass.atom = nextAtom++;
    classes.push_back(std::move(windowClass));
    return classes.back().atom;
}

bool RemoveClass(LPCSTR nameOrAtom) {
    auto found = std::find_if(classes.begin(), classes.end(),
                              [&](const WindowClass& c) { return Matches(c, nameOrAtom); });
    if (found == classes.end()) {
        return false;
    }
    classes.erase(found);
    return true;
}

Window* FindWindow(HWND handle) {
    std::lock_guard guard(windowsLock);
    auto found = windows.find(handle);
    return found == windows.end() ? nullptr : found->second.get();
}

Window& AddWindow(Window window) {
    auto record = std::make_unique<Window>(std::move(window));
    Window& added = *record;
    std::lock_guard guard(windowsLock);
    creationOrder.push_back(added.handle);
    windows[added.handle] = std::move(record);
    return added;
}

void RemoveWindow(HWND handle) {
    Window* window = FindWindow(handle);
    if (window == nullptr) {
        return;
    }
    // Outside the lock: whoever lets go of the SDL window may look the record up.
    CloseNative(*window);
    std::unique_ptr<Window> removed;
    std::lock_guard guard(windowsLock);
    auto found = windows.find(handle);
    if (found != windows.end()) {
        removed = std::move(found->second);
        windows.erase(found);
        std::erase(creationOrder, handle);
    }
}

std::vector<HWND> WindowHandles() {
    std::lock_guard guard(windowsLock);
    return creationOrder;
}

HWND LastVisibleWindow() {
    std::lock_guard guard(windowsLock);
    for (auto handle = creationOrder.rbegin(); handle != creationOrder.rend(); ++handle) {
        auto found = windows.find(*handle);
        if (found != windows.end() && found->second->visible) {
            return *handle;
        }
    }
    return nullptr;
}

void SetVisible(Window& window, bool visible) {
    std::lock_guard guard(windowsLock);
    window.visible = visible;
}

Window* FindWindowByNative(SDL_Window* native) {
    std::lock_guard guard(windowsLock);
    for (auto& [handle, window] : windows) {
        if (native != nullptr && window->native == native) {
            return window.get();
        }
    }
    return nullptr;
}

void ForgetAllWindows() {
    for (auto& [handle, window] : windows) {
        CloseNative(*window);
    }
    std::map<HWND, std::unique_ptr<Window>> forgotten;
    {
        std::lock_guard guard(windowsLock);
        forgotten.swap(windows);
        creationOrder.clear();
    }
    classes.clear();
}

HWND NewWindowHandle() {
    HWND handle = reinterpret_cast<HWND>(nextHandle);
    nextHandle += 0x10;
    return handle;
}

} // namespace winapi::window
