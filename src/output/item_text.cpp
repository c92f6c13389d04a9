// Texts of single nodes, shared by the stream writer and the list writer.
#include "output/item_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "zel/oid.h"

namespace zel {

namespace {

// Writes value as "%lf" writes it (six decimals, rounded from the exact binary value) and
// returns the end. Values below 10^9 whose rounding is clear take an integer path; the
// rest take the standard exact conversion.
char* AppendFixed6(char* to, size_t room, double value)
{
    if (std::fabs(value) < 1e9) {
        const double scaled = value * 1e6;
        const double rounded = std::nearbyint(scaled);
        const double error = std::fma(value, 1e6, -rounded);  // exact offset from rounded
        if (std::fabs(error) < 0.4999) {
            long long units = static_cast<long long>(std::fabs(rounded));
            char digits[24];
            int n = 0;
            for (int i = 0; i < 6; ++i, units /= 10)
                digits[n++] = static_cast<char>('0' + units % 10);
            digits[n++] = '.';
            do {
                digits[n++] = static_cast<char>('0' + units % 10);
                units /= 10;
            } while (units);
            if (std::signbit(value))
                digits[n++] = '-';
            while (n)
                *to++ = digits[--n];
            return to;
        }
    }
    return std::to_chars(to, to + room, value, std::chars_format::fixed, 6).ptr;
}

}  // namespace

void AppendFormHead(std::string& out, const char* keyword, int level)
{
    out += '\n';
    out.append(static_cast<size_t>(level < 0 ? -level : level), ' ');
    out += '(';
    out += keyword;
}

int AppendValueText(std::string& out, int type, const void* value, const char* keyword)
{
    // Numbers are written as "%d" and "%lf" write them, through the exact conversions of
    // the standard library. A node without its value block writes 0 or "".
    char number[352];
    number[0] = number[1] = ' ';
    switch (type) {
    case zelKW_INTTOK: {
        const int integer = value ? *static_cast<const int*>(value) : 0;
        out.append(number, std::to_chars(number + 2, number + sizeof number, integer).ptr);
        return -1;
    }
    case zelKW_REALTOK:
        out.append(number, AppendFixed6(number + 2, sizeof number - 2, value ? *static_cast<const double*>(value) : 0.0));
        return -1;
    case zelKW_STRTOK: {
        const char* text = value ? static_cast<const char*>(value) : "";
        const size_t length = std::strlen(text);
        out.append("  \"", 3);
        out.append(text, length);
        out += '"';
        return static_cast<int>(length);
    }
    case zelKW_IDENT:
    case zelKW_LIT: {
        const char* text = type == zelKW_LIT ? keyword : (value ? static_cast<const char*>(value) : "");
        const size_t length = std::strlen(text);
        out.append("  ", 2);
        out.append(text, length);
        return static_cast<int>(length);
    }
    default:
        return -1;
    }
}

}  // namespace zel
