// Texts of single nodes, shared by the stream writer and the list writer.
#include "output/item_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "lex/number_text.h"
#include "tree/node_access.h"
#include "zel/oid.h"

namespace zel {

namespace {

// "00" to "99": the two digits of every number below 100.
struct DigitPairs {
    char text[200];
    constexpr DigitPairs() : text()
    {
        for (int i = 0; i < 100; ++i) {
            text[2 * i] = static_cast<char>('0' + i / 10);
            text[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
};
constexpr DigitPairs kDigitPairs{};

// Writes value as "%lf" writes it (six decimals, rounded from the exact binary value) and
// returns the end. Values below 10^9 whose rounding is clear take an integer path; the
// rest take the standard exact conversion. On the integer path *readBack receives the
// double that the text reads back as (its digits as one exact integer over an exact 10^6,
// correctly rounded as any exact conversion rounds it); elsewhere it is left alone.
char* AppendFixed6(char* to, size_t room, double value, double* readBack)
{
    char* const end = to + room;
    if (std::fabs(value) < 1e9) {
        const double scaled = value * 1e6;
        const double rounded = std::nearbyint(scaled);
        const double error = std::fma(value, 1e6, -rounded);  // exact offset from rounded
        if (std::fabs(error) < 0.4999) {
            const unsigned long long units = static_cast<unsigned long long>(std::fabs(rounded));
            *readBack = std::copysign(static_cast<double>(units) / 1e6, value);
            if (std::signbit(value))
                *to++ = '-';
            to = std::to_chars(to, end, units / 1000000).ptr;
            *to++ = '.';
            unsigned fraction = static_cast<unsigned>(units % 1000000);
            for (int pair = 2; pair >= 0; --pair, fraction /= 100)
                std::memcpy(to + 2 * pair, &kDigitPairs.text[2 * (fraction % 100)], 2);
            return to + 6;
        }
    }
    return std::to_chars(to, end, value, std::chars_format::fixed, 6).ptr;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Writes value in fixed notation: six decimals when that text reads back as the very
// same double, else the shortest text with a period that does (a period keeps it a real
// under both rule sets). Values that are not finite keep the six-decimal text.
char* AppendReal(char* to, size_t room, double value)
{
    double readBack = std::numeric_limits<double>::quiet_NaN();
    char* end = AppendFixed6(to, room - 1, value, &readBack);
    if (std::isnan(readBack)) {
        *end = '\0';
        readBack = TextToDouble(to);
    }
    if (!std::isfinite(value) || SameBits(readBack, value))
        return end;
    end = std::to_chars(to, to + room - 1, value, std::chars_format::fixed).ptr;
    if (!std::memchr(to, '.', static_cast<size_t>(end - to)))
        *end++ = '.';
    return end;
}

}  // namespace

void AppendLineBreak(std::string& out, int level)
{
    // A line break and the indentation come from one text for the usual depths.
    static const char kBreak[] = "\n                                                               ";
    const size_t indent = static_cast<size_t>(level < 0 ? -static_cast<long>(level) : level);
    if (indent < sizeof kBreak - 1) {
        out.append(kBreak, indent + 1);
    } else {
        out += '\n';
        out.append(indent, ' ');
    }
}

void AppendFormHead(std::string& out, const char* keyword, int level)
{
    AppendLineBreak(out, level);
    out += '(';
    out.append(keyword, std::strlen(keyword));
}

void AppendComment(std::string& out, const std::string& text)
{
    out += ";;";
    if (!text.empty()) {
        out += ' ';
        out += text;
    }
}

int AppendValueText(std::string& out, int type, const void* value, const char* keyword,
                    const LexicalSettings& settings)
{
    // Numbers are written as "%d" and "%lf" write them, through the exact conversions of
    // the standard library. A node without its value block writes 0 or "".
    char number[352];
    number[0] = number[1] = ' ';
    switch (type) {
    case zelKW_INTTOK: {
        const int integer = value ? *static_cast<const int*>(value) : 0;
        out.append(number, static_cast<size_t>(std::to_chars(number + 2, number + sizeof number, integer).ptr - number));
        return -1;
    }
    case zelKW_REALTOK: {
        const double real = value ? *static_cast<const double*>(value) : 0.0;
        out.append(number, static_cast<size_t>(AppendReal(number + 2, sizeof number - 2, real) - number));
        return -1;
    }
    case zelKW_STRTOK: {
        const char* text = value ? static_cast<const char*>(value) : "";
        const size_t length = std::strlen(text);
        out.append("  \"", 3);
        out.append(text, length);
        out += '"';
        return static_cast<int>(length);
    }
    case zelKW_IDENT:
    case zelKW_WORDTOK: {
        const char* text = value ? static_cast<const char*>(value) : "";
        const size_t length = std::strlen(text);
        const IdentifierSpelling spelling = type == zelKW_IDENT ? SpellIdentifier(text, length, settings)
                                            : SpellWord(text, length, settings, value && WordMarked(text)).spelling;
        const char* mark = spelling == kSpellAmpersand ? "&" : spelling == kSpellApostrophes ? "'" : "";
        const size_t start = out.size();
        out.append("  ", 2);
        out.append(mark);
        out.append(text, length);
        if (spelling == kSpellApostrophes)
            out += '\'';
        return static_cast<int>(out.size() - start - 2);
    }
    case zelKW_LIT: {
        const size_t length = std::strlen(keyword);
        out.append("  ", 2);
        out.append(keyword, length);
        return static_cast<int>(length);
    }
    default:
        return -1;
    }
}

}  // namespace zel
