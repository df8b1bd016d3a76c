// Message boxes: an SDL2 dialog where a display is available, standard error otherwise.

#include "debug/redirections.h"
#include "text/utf.h"
#include "winapi/winuser.h"

#include <SDL.h>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct ButtonSet {
    std::vector<SDL_MessageBoxButtonData> buttons;
    int escapeAnswer; // what closing the dialog without a button means
};

ButtonSet ButtonsFor(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDOK, "OK"},
                 {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"}},
                IDCANCEL};
    case MB_YESNOCANCEL:
        return {{{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
                 {0, IDNO, "No"},
                 {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"}},
                IDCANCEL};
    case MB_YESNO:
        return {{{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
                 {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"}},
                IDNO};
    default:
        return {{{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                  IDOK, "OK"}},
                IDOK};
    }
}

Uint32 IconFlag(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR:
        return SDL_MESSAGEBOX_ERROR;
    case MB_ICONWARNING:
        return SDL_MESSAGEBOX_WARNING;
    default:
        return SDL_MESSAGEBOX_INFORMATION;
    }
}

bool DisplayAvailable() {
    const char* display = SDL_getenv("DISPLAY");
    const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
    return (display != nullptr && *display != '\0') || (wayland != nullptr && *wayland != '\0');
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    std::function<int(HWND, std::string_view, std::string_view, UINT)> handler;
    {
        std::lock_guard lock(winapi::debug::redirections.mutex);
        handler = winapi::debug::redirections.messageBoxHandler;
    }
    if (handler) {
        return handler(owner, text, caption, type);
    }
    if (DisplayAvailable()) {
        ButtonSet set = ButtonsFor(type);
        const SDL_MessageBoxData data{IconFlag(type),
                                      nullptr,
                                      caption.c_str(),
                                      text.c_str(),
                                      static_cast<int>(set.buttons.size()),
                                      set.buttons.data(),
                                      nullptr};
        int pressed = 0;
        if (SDL_ShowMessageBox(&data, &pressed) == 0) {
            return pressed < 0 ? set.escapeAnswer : pressed;
        }
    }
    const std::string report = caption + ": " + text + "\n";
    std::fputs(report.c_str(), stderr);
    return IDNO;
}

} // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    return ShowMessageBox(owner, text != nullptr ? text : "",
                          caption != nullptr ? caption : "Error", type);
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    using winapi::text::Utf16ToUtf8;
    return ShowMessageBox(owner, text != nullptr ? Utf16ToUtf8(text) : "",
                          caption != nullptr ? Utf16ToUtf8(caption) : "Error", type);
}
