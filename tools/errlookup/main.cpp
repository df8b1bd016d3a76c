// errlookup CODE...: prints the name and description of each result code, one line per code:
// 0x%08x<TAB>name<TAB>description. --wide looks the codes up in the wide tables and prints the
// texts as UTF-8. A code that cannot be read is reported on standard error and the others are
// still looked up; the exit status is then 2.

#include "errors/error_names.h"
#include "parse_code.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kUsageError = 2;

std::string ToUtf8(const WCHAR* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.pop_back(); // the terminator
    return utf8;
}

void PrintLine(std::uint32_t code, bool wide) {
    const auto result = static_cast<HRESULT>(code);
    if (wide) {
        std::printf("0x%08x\t%s\t%s\n", code, ToUtf8(ErrorNameW(result)).c_str(),
                    ToUtf8(ErrorDescriptionW(result)).c_str());
    } else {
        std::printf("0x%08x\t%s\t%s\n", code, ErrorName(result), ErrorDescription(result));
    }
}

void PrintUsage(std::FILE* stream) {
    std::fputs("usage: errlookup [--wide] CODE...\n"
               "  CODE: hexadecimal with 0x (0x88780096), unsigned decimal (2289565846)\n"
               "        or negative decimal (-2005401450)\n"
               "  --wide: look the codes up in the wide tables\n",
               stream);
}

} // namespace

int main(int argc, char** argv) {
    bool wide = false;
    std::vector<std::string_view> codes;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--wide") {
            wide = true;
        } else if (argument == "--help" || argument == "-h") {
            PrintUsage(stdout);
            return 0;
        } else {
            codes.push_back(argument);
        }
    }
    if (codes.empty()) {
        PrintUsage(stderr);
        return kUsageError;
    }

    int status = 0;
    for (const std::string_view text : codes) {
        if (const auto code = ParseCode(text)) {
            PrintLine(*code, wide);
        } else {
            std::fflush(stdout);
            std::fprintf(stderr,
                         "errlookup: '%.*s' is not a result code (expected hexadecimal 0x0 to "
                         "0xffffffff, or decimal -2147483648 to 4294967295)\n",
                         static_cast<int>(text.size()), text.data());
            status = kUsageError;
        }
    }
    return status;
}
