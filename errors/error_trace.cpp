// Traces a failed platform call to the debugger output, piece by piece, and optionally offers to
// break into the debugger. Every text is built in a fixed local buffer with the bounded string
// operations; a text that does not fit is cut, and the trace goes on with what fitted.

#include "errors/error_trace.h"

#include "errors/error_names.h"
#include "util/bounded_string.h"

#include <cstddef>

namespace {

constexpr std::size_t kLineTextSize = 128;
constexpr std::size_t kCodeTextSize = 256;
constexpr std::size_t kPathSize = 260;
constexpr std::size_t kCallingTextSize = 1024;
constexpr std::size_t kOutputSize = 3000;
// A message without a terminator within this many characters is left out.
constexpr std::size_t kMessageLimit = 1024;

constexpr UINT kBoxStyle = MB_ICONERROR | MB_YESNO;

std::size_t MessageLength(const char* message) {
    std::size_t length = 0;
    return message != nullptr && SUCCEEDED(BoundedLength(message, kMessageLimit, &length)) ? length
                                                                                           : 0;
}

std::size_t MessageLength(const WCHAR* message) {
    std::size_t length = 0;
    return message != nullptr && SUCCEEDED(BoundedLengthW(message, kMessageLimit, &length)) ? length
                                                                                            : 0;
}

// The file name as the message box shows it: cut to the path buffer, empty without a file.
void PathText(const char* file, char (&path)[kPathSize]) {
    path[0] = '\0';
    if (file != nullptr) {
        BoundedCopy(path, kPathSize, file);
    }
}

} // namespace

HRESULT TraceError(const char* file, DWORD line, HRESULT result, const char* message,
                   BOOL showMessageBox) {
    char lineText[kLineTextSize];
    BoundedFormat(lineText, kLineTextSize, "%ld", static_cast<LONG>(line));

    char output[kOutputSize];
    if (file != nullptr) {
        BoundedFormat(output, kOutputSize, "%s(%s): ", file, lineText);
        OutputDebugStringA(output);
    }

    const std::size_t messageLength = MessageLength(message);
    if (messageLength > 0) {
        OutputDebugStringA(message);
        OutputDebugStringA(" ");
    }

    char codeText[kCodeTextSize];
    BoundedFormat(codeText, kCodeTextSize, "%s (0x%0.8x)", ErrorName(result),
                  static_cast<DWORD>(result));
    BoundedFormat(output, kOutputSize, "hr=%s", codeText);
    OutputDebugStringA(output);
    OutputDebugStringA("\n");

    if (showMessageBox) {
        char path[kPathSize];
        PathText(file, path);
        char callingText[kCallingTextSize] = "";
        if (messageLength > 0) {
            BoundedFormat(callingText, kCallingTextSize, "Calling: %s\n", message);
        }
        BoundedFormat(output, kOutputSize,
                      "File: %s\nLine: %s\nError Code: %s\n%sDo you want to debug the application?",
                      path, lineText, codeText, callingText);
        if (MessageBoxA(GetForegroundWindow(), output, "Unexpected error encountered", kBoxStyle) ==
            IDYES) {
            DebugBreak();
        }
    }
    return result;
}

HRESULT TraceErrorW(const char* file, DWORD line, HRESULT result, const WCHAR* message,
                    BOOL showMessageBox) {
    WCHAR lineText[kLineTextSize];
    BoundedFormatW(lineText, kLineTextSize, u"%ld", static_cast<LONG>(line));

    WCHAR output[kOutputSize];
    if (file != nullptr) {
        // In the wide formats %S takes narrow text: the file name stays narrow throughout.
        BoundedFormatW(output, kOutputSize, u"%S(%s): ", file, lineText);
        OutputDebugStringW(output);
    }

    const std::size_t messageLength = MessageLength(message);
    if (messageLength > 0) {
        OutputDebugStringW(message);
        OutputDebugStringW(u" ");
    }

    WCHAR codeText[kCodeTextSize];
    BoundedFormatW(codeText, kCodeTextSize, u"%s (0x%0.8x)", ErrorNameW(result),
                   static_cast<DWORD>(result));
    BoundedFormatW(output, kOutputSize, u"hr=%s", codeText);
    OutputDebugStringW(output);
    OutputDebugStringW(u"\n");

    if (showMessageBox) {
        char path[kPathSize];
        PathText(file, path);
        WCHAR callingText[kCallingTextSize] = u"";
        if (messageLength > 0) {
            BoundedFormatW(callingText, kCallingTextSize, u"Calling: %s\n", message);
        }
        BoundedFormatW(
            output, kOutputSize,
            u"File: %S\nLine: %s\nError Code: %s\n%sDo you want to debug the application?", path,
            lineText, codeText, callingText);
        if (MessageBoxW(GetForegroundWindow(), output, u"Unexpected error encountered",
                        kBoxStyle) == IDYES) {
            DebugBreak();
        }
    }
    return result;
}
