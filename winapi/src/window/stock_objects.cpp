// The system cursors and the stock brushes: handles that stand for them, nothing to draw with.

#include "winapi/winuser.h"

#include <array>
#include <cstdint>

namespace {

struct StockObject {
    int unused;
};
std::array<StockObject, NULL_BRUSH + 1> stockBrushes;

struct SystemCursor {
    std::uintptr_t id;
    HICON__ handle;
};
std::array<SystemCursor, 5> systemCursors{
    {{32512, {}}, {32513, {}}, {32514, {}}, {32515, {}}, {32649, {}}}};

} // namespace

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName) {
    if (instance != nullptr) {
        return nullptr; // no program has cursor resources
    }
    auto id = reinterpret_cast<std::uintptr_t>(cursorName);
    for (auto& cursor : systemCursors) {
        if (cursor.id == id) {
            return &cursor.handle;
        }
    }
    return nullptr;
}

HGDIOBJ GetStockObject(int object) {
    if (object < 0 || object >= static_cast<int>(stockBrushes.size())) {
        return nullptr;
    }
    return &stockBrushes[static_cast<std::size_t>(object)];
}
