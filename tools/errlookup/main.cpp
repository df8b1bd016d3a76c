// errlookup CODE|NAME...: prints the name and description of each result code, one line per code:
// 0x%08x<TAB>name<TAB>description. A name prints the line of each code it names. --wide looks the
// codes up in the wide tables and prints the texts as UTF-8. A code that cannot be read or a name
// that names nothing is reported on standard error and the others are still looked up; the exit
// status is then 2.

#include "errors/error_names.h"
#include "find_name.h"
#include "parse_code.h"
#include "quillerby_version.h"

#include <windows.h>

#include <cctype>
#include <cstdio>
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
    std::fputs("usage: errlookup [--wide] CODE|NAME...\n"
               "       errlookup --help | --version\n"
               "  CODE: hexadecimal with 0x (0x88780096), unsigned decimal (2289565846)\n"
               "        or negative decimal (-2005401450)\n"
               "  NAME: a result code's name in any case (DSERR_BUFFERLOST); a name that two\n"
               "        codes share (ERROR_FILE_NOT_FOUND: 2 and 0x80070002) prints both\n"
               "  --wide: look the codes up in the wide tables\n",
               stream);
}

// Codes start with a digit or a minus sign; names never do.
bool SpellsACode(std::string_view text) {
    return !text.empty() && (text[0] == '-' || std::isdigit(static_cast<unsigned char>(text[0])));
}

// Options start with a minus sign that no digit follows.
bool IsOption(std::string_view text) {
    return text.size() > 1 && text[0] == '-' && !std::isdigit(static_cast<unsigned char>(text[1]));
}

// Prints the lines of one argument; false, after saying why on standard error, when it is neither
// a code nor a name of one.
bool LookUp(std::string_view text, bool wide) {
    const int shown = static_cast<int>(text.size());
    if (SpellsACode(text)) {
        if (const auto code = ParseCode(text)) {
            PrintLine(*code, wide);
            return true;
        }
        std::fflush(stdout);
        std::fprintf(stderr,
                     "errlookup: '%.*s' is not a result code (expected hexadecimal 0x0 to "
                     "0xffffffff, or decimal -2147483648 to 4294967295)\n",
                     shown, text.data());
        return false;
    }
    const std::vector<std::uint32_t> codes = CodesNamed(text);
    for (const std::uint32_t code : codes) {
        PrintLine(code, wide);
    }
    if (codes.empty()) {
        std::fflush(stdout);
        std::fprintf(stderr, "errlookup: no result code is named '%.*s'\n", shown, text.data());
    }
    return !codes.empty();
}

} // namespace

int main(int argc, char** argv) {
    bool wide = false;
    std::vector<std::string_view> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--wide") {
            wide = true;
        } else if (argument == "--help" || argument == "-h") {
            PrintUsage(stdout);
            return 0;
        } else if (argument == "--version") {
            std::printf("errlookup %s\n", kQuillerbyVersion);
            return 0;
        } else if (IsOption(argument)) {
            std::fprintf(stderr, "errlookup: unknown option %s\n", argv[i]);
            PrintUsage(stderr);
            return kUsageError;
        } else {
            arguments.push_back(argument);
        }
    }
    if (arguments.empty()) {
        PrintUsage(stderr);
        return kUsageError;
    }

    int status = 0;
    for (const std::string_view text : arguments) {
        if (!LookUp(text, wide)) {
            status = kUsageError;
        }
    }
    return status;
}
