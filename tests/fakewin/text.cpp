// The ANSI text routines over code page 1252, the ANSI code page the
// program's texts are written in: lstr*, CompareStringA, the code page
// conversions and wsprintfA.
#include <windows.h>
#include <gtest/gtest.h>
#include "fakewin_internal.h"

using fakewin::detail::CountCall;
using fakewin::detail::FoldCase;
using fakewin::detail::ShouldFail;

namespace {

// UTF-16 of the bytes 0x80-0x9F; the five unassigned bytes map to the C1
// controls of the same value, as Windows maps them.
const WCHAR kHigh1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                             0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                             0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                             0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

WCHAR ToWide(unsigned char c) {
    return c >= 0x80 && c < 0xA0 ? kHigh1252[c - 0x80] : c;
}

// -1 when code page 1252 has no byte for the code unit.
int ToByte(WCHAR w) {
    if (w < 0x80 || (w >= 0xA0 && w <= 0xFF))
        return w;
    for (int i = 0; i < 32; i++)
        if (kHigh1252[i] == w)
            return 0x80 + i;
    return -1;
}

bool IsAnsiCodePage(UINT codePage) {
    if (codePage == CP_ACP || codePage == 1252)
        return true;
    ADD_FAILURE() << "fakewin: code page " << codePage << " is not faked";
    return false;
}

// A counted length stops early at a terminator.
int Length(const char *s, int count) {
    if (count < 0)
        return (int)strlen(s);
    int n = 0;
    while (n < count && s[n])
        n++;
    return n;
}

// Word-sort order reduced to what the program can observe: letters compare
// without case first, and only a full tie is broken by case, lower first.
int Compare(const char *a, int na, const char *b, int nb, bool ignoreCase) {
    int tie = 0;
    for (int i = 0; i < na || i < nb; i++) {
        if (i >= na || i >= nb)
            return i >= na ? -1 : 1;
        unsigned char ca = a[i], cb = b[i];
        unsigned char fa = FoldCase(ca), fb = FoldCase(cb);
        if (fa != fb)
            return fa < fb ? -1 : 1;
        if (!tie && ca != cb)
            tie = ca > cb ? -1 : 1;
    }
    return ignoreCase ? 0 : tie;
}

int CompareNullable(const char *a, const char *b, bool ignoreCase) {
    if (!a || !b)
        return (a != nullptr) - (b != nullptr);
    return Compare(a, Length(a, -1), b, Length(b, -1), ignoreCase);
}

// ---- wsprintfA ----
const int kFormatLimit = 1024; // the real limit, terminator included

struct Output {
    char *dst;
    int n;
};

void Put(Output &out, char c, int times = 1) {
    for (; times > 0 && out.n < kFormatLimit - 1; times--)
        out.dst[out.n++] = c;
}

void PutDigits(char *buf, int *len, uint32_t value, int base, bool upper) {
    char tmp[16];
    int n = 0;
    do {
        int d = value % base;
        tmp[n++] = (char)(d < 10 ? '0' + d : (upper ? 'A' : 'a') + d - 10);
        value /= base;
    } while (value);
    while (n)
        buf[(*len)++] = tmp[--n];
}

int Format(char *dst, const char *f, va_list args) {
    Output out = {dst, 0};
    while (*f) {
        if (*f != '%') {
            Put(out, *f++);
            continue;
        }
        f++;
        bool left = false, zero = false, alt = false;
        for (;; f++) {
            if (*f == '-')
                left = true;
            else if (*f == '0')
                zero = true;
            else if (*f == '#')
                alt = true;
            else
                break;
        }
        int width = 0, precision = -1;
        for (; *f >= '0' && *f <= '9'; f++)
            width = width < kFormatLimit ? width * 10 + (*f - '0') : width;
        if (*f == '.')
            for (precision = 0, f++; *f >= '0' && *f <= '9'; f++)
                precision = precision < kFormatLimit ? precision * 10 + (*f - '0') : precision;
        char size = 0;
        if (*f == 'l' || *f == 'h')
            size = *f++;
        char conv = *f;
        if (!conv)
            break;
        f++;

        char buf[40];
        const char *text = buf;
        int len = 0;
        const char *prefix = "";
        std::string narrowed;
        bool numeric = true;
        switch (conv) {
        case 'c':
            buf[len++] = (char)va_arg(args, int);
            numeric = false;
            break;
        case 's':
        case 'S': // %S and %ls take a wide string, %hs always an ANSI one
            numeric = false;
            if ((conv == 'S' && size != 'h') || (conv == 's' && size == 'l')) {
                const WCHAR *w = va_arg(args, const WCHAR *);
                narrowed = w ? fakewin::detail::Narrow(w) : "(null)";
                text = narrowed.c_str();
            } else {
                text = va_arg(args, const char *);
                if (!text)
                    text = "(null)";
            }
            len = Length(text, precision);
            break;
        case 'd':
        case 'i': {
            int32_t v = va_arg(args, int32_t);
            if (size == 'h')
                v = (int16_t)v;
            if (v < 0)
                prefix = "-";
            PutDigits(buf, &len, v < 0 ? 0u - (uint32_t)v : (uint32_t)v, 10, false);
            break;
        }
        case 'u':
        case 'x':
        case 'X': {
            uint32_t v = va_arg(args, uint32_t);
            if (size == 'h')
                v = (uint16_t)v;
            if (alt && conv != 'u' && v)
                prefix = conv == 'x' ? "0x" : "0X";
            PutDigits(buf, &len, v, conv == 'u' ? 10 : 16, conv == 'X');
            break;
        }
        default: // '%' and anything unknown stand for themselves
            buf[len++] = conv;
            numeric = false;
            break;
        }
        int zeros = numeric && precision > len ? precision - len : 0;
        int pad = width - (int)strlen(prefix) - zeros - len;
        if (!left && !zero)
            Put(out, ' ', pad);
        for (const char *p = prefix; *p; p++)
            Put(out, *p);
        if (!left && zero)
            Put(out, '0', pad);
        Put(out, '0', zeros);
        for (int i = 0; i < len; i++)
            Put(out, text[i]);
        if (left)
            Put(out, ' ', pad);
    }
    dst[out.n] = 0;
    return out.n;
}

} // namespace

namespace fakewin {
namespace detail {

unsigned char FoldCase(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    if (c == 0x8A || c == 0x8C || c == 0x8E) // Š Œ Ž
        return c + 0x10;
    if (c == 0x9F) // Ÿ
        return 0xFF;
    return c;
}

std::string Folded(const char *text) {
    std::string s = text ? text : "";
    for (char &c : s)
        c = (char)FoldCase((unsigned char)c);
    return s;
}

std::string Narrow(const WCHAR *text) {
    std::string s;
    for (; *text; text++) {
        int b = ToByte(*text);
        s += (char)(b < 0 ? '?' : b);
    }
    return s;
}

} // namespace detail
} // namespace fakewin

int WINAPI lstrlenA(LPCSTR text) {
    CountCall("lstrlenA");
    return text ? (int)strlen(text) : 0;
}

LPSTR WINAPI lstrcpyA(LPSTR dst, LPCSTR src) {
    CountCall("lstrcpyA");
    if (!dst || !src)
        return nullptr;
    return strcpy(dst, src);
}

LPSTR WINAPI lstrcpynA(LPSTR dst, LPCSTR src, int maxLength) {
    CountCall("lstrcpynA");
    if (!dst || !src)
        return nullptr;
    if (maxLength <= 0)
        return dst;
    int n = 0;
    for (; n < maxLength - 1 && src[n]; n++)
        dst[n] = src[n];
    dst[n] = 0;
    return dst;
}

LPSTR WINAPI lstrcatA(LPSTR dst, LPCSTR src) {
    CountCall("lstrcatA");
    if (!dst || !src)
        return nullptr;
    return strcat(dst, src);
}

int WINAPI lstrcmpA(LPCSTR a, LPCSTR b) {
    CountCall("lstrcmpA");
    return CompareNullable(a, b, false);
}

int WINAPI lstrcmpiA(LPCSTR a, LPCSTR b) {
    CountCall("lstrcmpiA");
    return CompareNullable(a, b, true);
}

int WINAPI CompareStringA(LCID, DWORD flags, LPCSTR a, int countA, LPCSTR b, int countB) {
    long error;
    if (ShouldFail("CompareStringA", nullptr, &error)) {
        SetLastError(error);
        return 0;
    }
    if (flags & ~(DWORD)NORM_IGNORECASE)
        ADD_FAILURE() << "fakewin: CompareStringA flags " << flags << " are not faked";
    if (!a || !b || countA < -1 || countB < -1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int r = Compare(a, Length(a, countA), b, Length(b, countB), flags & NORM_IGNORECASE);
    return r < 0 ? CSTR_LESS_THAN : r > 0 ? CSTR_GREATER_THAN : CSTR_EQUAL;
}

int WINAPI MultiByteToWideChar(UINT codePage, DWORD, LPCCH src, int srcBytes, LPWSTR dst,
                               int dstChars) {
    long error;
    if (ShouldFail("MultiByteToWideChar", nullptr, &error)) {
        SetLastError(error);
        return 0;
    }
    if (!IsAnsiCodePage(codePage) || !src || srcBytes == 0 || srcBytes < -1 || dstChars < 0 ||
        (dstChars && !dst)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int n = srcBytes < 0 ? (int)strlen(src) + 1 : srcBytes;
    if (dstChars == 0)
        return n;
    for (int i = 0; i < n; i++) {
        if (i == dstChars) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        dst[i] = ToWide((unsigned char)src[i]);
    }
    return n;
}

// UTF-8 of the Basic Multilingual Plane, all that code page 1252 reaches.
static int ToUtf8(LPCWCH src, int srcChars, LPSTR dst, int dstBytes) {
    std::string out;
    for (int i = 0; srcChars < 0 ? (i == 0 || src[i - 1]) : i < srcChars; i++) {
        unsigned w = src[i];
        if (w < 0x80) {
            out += (char)w;
        } else if (w < 0x800) {
            out += (char)(0xC0 | w >> 6);
            out += (char)(0x80 | (w & 0x3F));
        } else {
            out += (char)(0xE0 | w >> 12);
            out += (char)(0x80 | (w >> 6 & 0x3F));
            out += (char)(0x80 | (w & 0x3F));
        }
    }
    if (dstBytes == 0)
        return (int)out.size();
    if ((int)out.size() > dstBytes) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    memcpy(dst, out.data(), out.size());
    return (int)out.size();
}

int WINAPI WideCharToMultiByte(UINT codePage, DWORD, LPCWCH src, int srcChars, LPSTR dst,
                               int dstBytes, LPCCH defaultChar, LPBOOL usedDefaultChar) {
    long error;
    if (ShouldFail("WideCharToMultiByte", nullptr, &error)) {
        SetLastError(error);
        return 0;
    }
    if (codePage == CP_UTF8 && src && srcChars != 0 && !defaultChar && !usedDefaultChar)
        return ToUtf8(src, srcChars, dst, dstBytes);
    if (!IsAnsiCodePage(codePage) || !src || srcChars == 0 || srcChars < -1 || dstBytes < 0 ||
        (dstBytes && !dst)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int n = srcChars;
    if (n < 0)
        for (n = 1; src[n - 1]; n++) {
        }
    if (usedDefaultChar)
        *usedDefaultChar = FALSE;
    for (int i = 0; i < n; i++) {
        int b = ToByte(src[i]);
        if (b < 0 && usedDefaultChar)
            *usedDefaultChar = TRUE;
        if (dstBytes == 0)
            continue;
        if (i == dstBytes) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        dst[i] = (char)(b >= 0 ? b : defaultChar ? *defaultChar : '?');
    }
    return n;
}

int WINAPI wvsprintfA(LPSTR dst, LPCSTR format, va_list args) {
    CountCall("wvsprintfA");
    return Format(dst, format, args);
}

int WINAPIV wsprintfA(LPSTR dst, LPCSTR format, ...) {
    CountCall("wsprintfA");
    va_list args;
    va_start(args, format);
    int n = Format(dst, format, args);
    va_end(args);
    return n;
}
