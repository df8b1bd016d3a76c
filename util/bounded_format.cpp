// printf-style formatting into a bounded destination, narrow and wide, with the platform's
// argument sizes ('l' is 32 bits). One template serves both forms; floating-point conversions
// are delegated to the C library one at a time.

#include "util/bounded_string.h"
#include "util/utf8_units.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <type_traits>

namespace {

// Wraps a va_list so helpers can share one position in it.
struct Arguments {
    va_list list;
};

enum class Size { Default, Char, Short, Long32, Long64, SizeT, Max, PtrDiff, LongDouble };

struct Field {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zero = false;
    int width = 0;
    int precision = -1; // -1: none given
    Size size = Size::Default;
    bool wideText = false;   // %ls, %ws, %lc in either form
    bool narrowText = false; // %hs, %hc in either form
};

template <typename Char> class Writer {
public:
    Writer(Char* dest, std::size_t capacity) : dest_(dest), capacity_(capacity) {}

    void Put(Char c) {
        if (used_ + 1 < capacity_) {
            dest_[used_++] = c;
        } else {
            truncated_ = true;
        }
    }
    void Repeat(Char c, std::size_t n) {
        for (std::size_t i = 0; i < n && !truncated_; ++i) {
            Put(c);
        }
    }
    void PutCodePoint(char32_t cp) {
        Char units[4];
        std::size_t n;
        if constexpr (std::is_same_v<Char, char>) {
            n = utf::EncodeUtf8(cp, units);
        } else {
            n = utf::EncodeUtf16(cp, units);
        }
        for (std::size_t i = 0; i < n; ++i) {
            Put(units[i]);
        }
    }
    bool Full() const { return truncated_; }
    HRESULT Finish() {
        dest_[used_] = Char{};
        return truncated_ ? kInsufficientBuffer : S_OK;
    }

private:
    Char* dest_;
    std::size_t capacity_;
    std::size_t used_ = 0;
    bool truncated_ = false;
};

template <typename Char> std::size_t UnitLength(char32_t cp) {
    if constexpr (std::is_same_v<Char, char>) {
        return utf::Utf8Length(cp);
    } else {
        return utf::Utf16Length(cp);
    }
}

template <typename Source> char32_t NextCodePoint(const Source*& text) {
    if constexpr (std::is_same_v<Source, char>) {
        return utf::NextFromUtf8(text);
    } else {
        return utf::NextFromUtf16(text);
    }
}

template <typename Char> void Pad(Writer<Char>& out, const Field& field, std::size_t length) {
    if (field.width > 0 && static_cast<std::size_t>(field.width) > length) {
        out.Repeat(Char(' '), static_cast<std::size_t>(field.width) - length);
    }
}

// Writes text of either form into the output's form, honouring precision (output units) and width.
// Text of the output's own form is copied unit for unit, whatever it holds; only text of the other
// form is converted, malformed units becoming U+FFFD.
template <typename Char, typename Source>
void PutText(Writer<Char>& out, const Field& field, const Source* text) {
    static constexpr Source kNull[] = {'(', 'n', 'u', 'l', 'l', ')', 0};
    if (text == nullptr) {
        text = kNull;
    }
    const std::size_t limit =
        field.precision < 0 ? SIZE_MAX : static_cast<std::size_t>(field.precision);
    if constexpr (std::is_same_v<Char, Source>) {
        std::size_t length = 0;
        while (length < limit && text[length] != Source{}) {
            ++length;
        }
        if (!field.left) {
            Pad(out, field, length);
        }
        for (std::size_t i = 0; i < length && !out.Full(); ++i) {
            out.Put(text[i]);
        }
        if (field.left) {
            Pad(out, field, length);
        }
        return;
    }
    std::size_t length = 0;
    for (const Source* p = text;;) {
        const char32_t cp = NextCodePoint(p);
        if (cp == 0 || length + UnitLength<Char>(cp) > limit) {
            break;
        }
        length += UnitLength<Char>(cp);
    }
    if (!field.left) {
        Pad(out, field, length);
    }
    std::size_t written = 0;
    for (const Source* p = text; written < length && !out.Full();) {
        const char32_t cp = NextCodePoint(p);
        out.PutCodePoint(cp);
        written += UnitLength<Char>(cp);
    }
    if (field.left) {
        Pad(out, field, length);
    }
}

// A character of the output's own form is put as it is; one of the other form is converted as a
// one-character text of that form would be.
template <typename Char, typename Source>
void PutCharacter(Writer<Char>& out, const Field& field, Source unit) {
    constexpr bool sameForm = std::is_same_v<Char, Source>;
    const Source text[] = {unit, Source{}};
    const Source* next = text;
    const char32_t cp = sameForm ? 0 : NextCodePoint(next); // a 0 unit gives 0, put like any other
    const std::size_t length = sameForm ? 1 : UnitLength<Char>(cp);
    if (!field.left) {
        Pad(out, field, length);
    }
    if constexpr (sameForm) {
        out.Put(unit);
    } else {
        out.PutCodePoint(cp);
    }
    if (field.left) {
        Pad(out, field, length);
    }
}

std::uint64_t TakeUnsigned(Arguments& args, Size size) {
    switch (size) {
    case Size::Char:
        return static_cast<unsigned char>(va_arg(args.list, unsigned int));
    case Size::Short:
        return static_cast<unsigned short>(va_arg(args.list, unsigned int));
    case Size::Long64:
        return va_arg(args.list, unsigned long long);
    case Size::SizeT:
        return va_arg(args.list, std::size_t);
    case Size::Max:
        return va_arg(args.list, std::uintmax_t);
    case Size::PtrDiff:
        return static_cast<std::uint64_t>(va_arg(args.list, std::ptrdiff_t));
    default: // Default and Long32: the platform's int, long, DWORD and LONG are all 32 bits
        return va_arg(args.list, unsigned int);
    }
}

std::int64_t TakeSigned(Arguments& args, Size size) {
    switch (size) {
    case Size::Char:
        return static_cast<signed char>(va_arg(args.list, int));
    case Size::Short:
        return static_cast<short>(va_arg(args.list, int));
    case Size::Long64:
        return va_arg(args.list, long long);
    case Size::SizeT:
        return static_cast<std::int64_t>(va_arg(args.list, std::size_t));
    case Size::Max:
        return va_arg(args.list, std::intmax_t);
    case Size::PtrDiff:
        return va_arg(args.list, std::ptrdiff_t);
    default:
        return va_arg(args.list, int);
    }
}

template <typename Char>
void PutInteger(Writer<Char>& out, const Field& field, char conversion, Arguments& args) {
    const bool isSigned = conversion == 'd' || conversion == 'i';
    std::uint64_t magnitude;
    char sign = 0;
    if (isSigned) {
        const std::int64_t value = TakeSigned(args, field.size);
        magnitude =
            value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
        sign = value < 0 ? '-' : field.plus ? '+' : field.space ? ' ' : 0;
    } else {
        magnitude = TakeUnsigned(args, field.size);
    }

    const unsigned base = conversion == 'o'                          ? 8
                          : (conversion == 'x' || conversion == 'X') ? 16
                                                                     : 10;
    const char* digitSet = conversion == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    char digits[24];
    std::size_t count = 0;
    for (std::uint64_t v = magnitude; v != 0; v /= base) {
        digits[count++] = digitSet[v % base];
    }

    // With no precision a zero prints as "0"; an explicit precision of 0 prints no digits.
    const std::size_t minDigits =
        field.precision < 0 ? 1 : static_cast<std::size_t>(field.precision);
    std::size_t zeros = minDigits > count ? minDigits - count : 0;
    const char* prefix = "";
    if (field.alternate && magnitude != 0 && base == 16) {
        prefix = conversion == 'X' ? "0X" : "0x";
    } else if (field.alternate && base == 8 && zeros == 0 &&
               (count == 0 || digits[count - 1] != '0')) {
        zeros = 1;
    }
    std::size_t prefixLength = (sign != 0 ? 1 : 0) + std::char_traits<char>::length(prefix);
    std::size_t length = prefixLength + zeros + count;
    if (field.zero && !field.left && field.precision < 0 && field.width > 0 &&
        static_cast<std::size_t>(field.width) > length) {
        zeros += static_cast<std::size_t>(field.width) - length;
        length = static_cast<std::size_t>(field.width);
    }

    if (!field.left) {
        Pad(out, field, length);
    }
    if (sign != 0) {
        out.Put(Char(sign));
    }
    for (const char* p = prefix; *p != '\0'; ++p) {
        out.Put(Char(*p));
    }
    out.Repeat(Char('0'), zeros);
    while (count > 0 && !out.Full()) {
        out.Put(Char(digits[--count]));
    }
    if (field.left) {
        Pad(out, field, length);
    }
}

// Pointers print as fixed-width uppercase hexadecimal, as on the platform.
template <typename Char> void PutPointer(Writer<Char>& out, const Field& field, Arguments& args) {
    const auto value = reinterpret_cast<std::uintptr_t>(va_arg(args.list, void*));
    char digits[2 * sizeof(void*) + 1];
    std::snprintf(digits, sizeof digits, "%0*llX", static_cast<int>(2 * sizeof(void*)),
                  static_cast<unsigned long long>(value));
    PutText(out, Field{.left = field.left, .width = field.width}, digits);
}

template <typename Char>
void PutFloat(Writer<Char>& out, const Field& field, char conversion, Arguments& args) {
    char format[32];
    char* f = format;
    *f++ = '%';
    if (field.left)
        *f++ = '-';
    if (field.plus)
        *f++ = '+';
    if (field.space)
        *f++ = ' ';
    if (field.alternate)
        *f++ = '#';
    if (field.zero)
        *f++ = '0';
    *f++ = '*';
    *f++ = '.';
    *f++ = '*';
    if (field.size == Size::LongDouble)
        *f++ = 'L';
    *f++ = conversion;
    *f = '\0';

    const int precision = field.precision;
    char local[128];
    std::string large;
    const char* text = local;
    int length;
    if (field.size == Size::LongDouble) {
        const long double value = va_arg(args.list, long double);
        length = std::snprintf(local, sizeof local, format, field.width, precision, value);
        if (length >= static_cast<int>(sizeof local)) {
            large.resize(static_cast<std::size_t>(length) + 1);
            std::snprintf(large.data(), large.size(), format, field.width, precision, value);
            text = large.c_str();
        }
    } else {
        const double value = va_arg(args.list, double);
        length = std::snprintf(local, sizeof local, format, field.width, precision, value);
        if (length >= static_cast<int>(sizeof local)) {
            large.resize(static_cast<std::size_t>(length) + 1);
            std::snprintf(large.data(), large.size(), format, field.width, precision, value);
            text = large.c_str();
        }
    }
    for (int i = 0; i < length && !out.Full(); ++i) {
        out.Put(Char(static_cast<unsigned char>(text[i])));
    }
}

// Reads a decimal count (or '*' from the arguments) at format; negative '*' widths left-justify.
template <typename Char> int ReadCount(const Char*& format, Arguments& args, bool& negative) {
    negative = false;
    if (*format == Char('*')) {
        ++format;
        const int value = va_arg(args.list, int);
        negative = value < 0;
        return negative ? (value == INT32_MIN ? INT32_MAX : -value) : value;
    }
    long long value = 0;
    while (*format >= Char('0') && *format <= Char('9')) {
        value = value * 10 + (*format++ - Char('0'));
        if (value > INT32_MAX) {
            value = INT32_MAX;
        }
    }
    return static_cast<int>(value);
}

template <typename Char> Size ReadSize(const Char*& format, Field& field) {
    switch (*format) {
    case Char('h'):
        if (*++format == Char('h')) {
            ++format;
            return Size::Char;
        }
        field.narrowText = true;
        return Size::Short;
    case Char('l'):
        if (*++format == Char('l')) {
            ++format;
            return Size::Long64;
        }
        field.wideText = true;
        return Size::Long32;
    case Char('w'):
        ++format;
        field.wideText = true;
        return Size::Default;
    case Char('L'):
        ++format;
        return Size::LongDouble;
    case Char('z'):
        ++format;
        return Size::SizeT;
    case Char('j'):
        ++format;
        return Size::Max;
    case Char('t'):
        ++format;
        return Size::PtrDiff;
    case Char('I'):
        if (format[1] == Char('6') && format[2] == Char('4')) {
            format += 3;
            return Size::Long64;
        }
        if (format[1] == Char('3') && format[2] == Char('2')) {
            format += 3;
            return Size::Long32;
        }
        ++format;
        return Size::SizeT;
    default:
        return Size::Default;
    }
}

// Whether a text or character conversion takes the narrow form of its argument: %s in a narrow
// format, %S in a wide one, or any with an explicit 'h'.
template <typename Char> bool TakesNarrow(const Field& field, bool uppercase) {
    if (field.narrowText) {
        return true;
    }
    if (field.wideText) {
        return false;
    }
    return std::is_same_v<Char, char> != uppercase;
}

template <typename Char>
HRESULT Format(Char* dest, std::size_t capacity, const Char* format, va_list list) {
    if (dest == nullptr || capacity == 0 || capacity > kMaxBoundedCapacity) {
        return E_INVALIDARG;
    }
    Writer<Char> out(dest, capacity);
    if (format == nullptr) {
        out.Finish();
        return E_INVALIDARG;
    }
    Arguments args;
    va_copy(args.list, list);

    while (*format != Char{} && !out.Full()) {
        if (*format != Char('%')) {
            out.Put(*format++);
            continue;
        }
        const Char* start = format++;
        Field field;
        for (;; ++format) {
            if (*format == Char('-'))
                field.left = true;
            else if (*format == Char('+'))
                field.plus = true;
            else if (*format == Char(' '))
                field.space = true;
            else if (*format == Char('#'))
                field.alternate = true;
            else if (*format == Char('0'))
                field.zero = true;
            else
                break;
        }
        bool negative;
        field.width = ReadCount(format, args, negative);
        field.left = field.left || negative;
        if (*format == Char('.')) {
            ++format;
            field.precision = ReadCount(format, args, negative);
            if (negative) {
                field.precision = -1;
            }
        }
        field.size = ReadSize(format, field);

        const Char conversion = *format;
        if (conversion == Char{}) {
            break; // a lone '%' at the end prints nothing
        }
        ++format;
        switch (conversion) {
        case Char('d'):
        case Char('i'):
        case Char('u'):
        case Char('o'):
        case Char('x'):
        case Char('X'):
            PutInteger(out, field, static_cast<char>(conversion), args);
            break;
        case Char('e'):
        case Char('E'):
        case Char('f'):
        case Char('F'):
        case Char('g'):
        case Char('G'):
        case Char('a'):
        case Char('A'):
            PutFloat(out, field, static_cast<char>(conversion), args);
            break;
        case Char('s'):
        case Char('S'):
            if (TakesNarrow<Char>(field, conversion == Char('S'))) {
                PutText(out, field, va_arg(args.list, const char*));
            } else {
                PutText(out, field, va_arg(args.list, const WCHAR*));
            }
            break;
        case Char('c'):
        case Char('C'):
            if (TakesNarrow<Char>(field, conversion == Char('C'))) {
                PutCharacter(out, field, static_cast<char>(va_arg(args.list, int)));
            } else {
                PutCharacter(out, field, static_cast<WCHAR>(va_arg(args.list, int)));
            }
            break;
        case Char('p'):
            PutPointer(out, field, args);
            break;
        case Char('%'):
            out.Put(Char('%'));
            break;
        case Char('n'):
            // Writing through a pointer argument is refused, as on the platform.
            (void)va_arg(args.list, void*);
            break;
        default:
            // An unknown conversion is copied as it stands and takes no argument.
            for (const Char* p = start; p != format; ++p) {
                out.Put(*p);
            }
            break;
        }
    }
    va_end(args.list);
    return out.Finish();
}

} // namespace

HRESULT BoundedFormatV(char* dest, std::size_t capacity, const char* format, va_list args) {
    return Format(dest, capacity, format, args);
}

HRESULT BoundedFormatVW(WCHAR* dest, std::size_t capacity, const WCHAR* format, va_list args) {
    return Format(dest, capacity, format, args);
}

HRESULT BoundedFormat(char* dest, std::size_t capacity, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const HRESULT result = Format(dest, capacity, format, args);
    va_end(args);
    return result;
}

HRESULT BoundedFormatW(WCHAR* dest, std::size_t capacity, const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    const HRESULT result = Format(dest, capacity, format, args);
    va_end(args);
    return result;
}
