// C++ source for a compiled grammar: the tables as writable arrays, the descriptor and
// an enumeration of the keyword ids.
#include <cstdio>
#include <cstring>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "core/conventions.h"
#include "core/type_names.h"
#include "lex/char_class.h"
#include "zel/compiler.h"

namespace {

std::string Quoted(const char* text)
{
    std::string out = "\"";
    for (const char* p = text; *p; ++p) {
        if (*p == '"' || *p == '\\')
            out += '\\';
        out += *p;
    }
    return out + "\"";
}

// An identifier made from a keyword name: every character but a letter or digit becomes "_";
// the angle brackets of "<word>" are left out.
std::string Identifier(const char* name)
{
    std::string out;
    const size_t length = std::strlen(name);
    const bool angle = length > 2 && name[0] == '<' && name[length - 1] == '>';
    for (size_t i = angle ? 1 : 0; i < (angle ? length - 1 : length); ++i)
        out += zel::IsAlnum(name[i]) ? name[i] : '_';
    return out;
}

// A character as a C++ expression of type char.
std::string CharLiteral(char c)
{
    if (c == 0)
        return "0";
    if (c == '\\' || c == '\'')
        return std::string("'\\") + c + "'";
    if (c >= ' ' && c <= '~')
        return std::string("'") + c + "'";
    return "static_cast<char>(" + std::to_string(static_cast<unsigned char>(c)) + ")";
}

// A number in hexadecimal digits, without a prefix.
std::string Hex(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(value));
    return text;
}

// The enumeration of the keyword ids, one enumerator per row: a group is left out (its
// name is its text in parentheses), and a name that comes out like an earlier one gets the id.
void WriteKeywordEnumeration(FILE* stream, const char* prefix, const std::vector<zelKeywordS>& keywords)
{
    std::fprintf(stream, "enum %s_keyword {\n", prefix);
    std::set<std::string> used;
    for (size_t k = zel::kFixedKeywords; k < keywords.size(); ++k) {
        if (keywords[k].name[0] == '(')
            continue;
        std::string id = Identifier(keywords[k].name);
        if (!used.insert(id).second)
            used.insert(id += "_" + std::to_string(k));
        std::fprintf(stream, "    %s_KW_%s = %zu,\n", prefix, id.c_str(), k);
    }
    std::fprintf(stream, "};\n\n");
}

// The lexical settings constants: their definitions, or with values null their declarations.
void WriteSettings(FILE* stream, const char* prefix, const std::string* values)
{
    static const char* const kKinds[] = {"char", "int", "int"};
    static const char* const kNames[] = {"escape", "extended", "lexical_options"};
    std::fprintf(stream, "\n// The lexical settings, for CZelParser's constructor.\n");
    for (int i = 0; i < 3; ++i) {
        if (values)
            std::fprintf(stream, "extern const %s %s_%s = %s;\n", kKinds[i], prefix, kNames[i], values[i].c_str());
        else
            std::fprintf(stream, "extern const %s %s_%s;\n", kKinds[i], prefix, kNames[i]);
    }
}

// 0 when everything written to the stream reached it, else 1.
int Flushed(FILE* stream) { return std::fflush(stream) == 0 && !std::ferror(stream) ? 0 : 1; }

// A header name that an #include "..." line can hold.
bool IncludableName(const char* name)
{
    for (const char* p = name; *p; ++p)
        if (*p == '"' || *p == '\n' || *p == '\r')
            return false;
    return *name != '\0';
}

}  // namespace

int CZelGrammar::WriteSource(FILE* stream, const char* prefix, const char* origin) const
{
    return WriteSource(stream, prefix, origin, nullptr);
}

int CZelGrammar::WriteSource(FILE* stream, const char* prefix, const char* origin, const char* header) const
{
    // Memory that runs out while the text is formed ends the writing as a failure.
    try {
        if (!m_ready || !stream || !prefix || (header && !IncludableName(header)))
            return 1;
        std::fprintf(stream, "// Grammar tables of %s, written by \"zel gen\". Do not edit.\n", origin ? origin : "a grammar");
        if (header) {
            std::fprintf(stream, "#include \"%s\"\n\n", header);
        } else {
            std::fprintf(stream, "#include <zel/zel.h>\n\n");
            WriteKeywordEnumeration(stream, prefix, m_keywords);
        }
        std::fprintf(stream, "zelKeywordS %s_keywords[] = {\n", prefix);
        for (size_t k = 0; k < m_keywords.size(); ++k) {
            const zelKeywordS& row = m_keywords[k];
            std::fprintf(stream, "    {%s, %d, %s, %d},  // %zu\n", Quoted(row.name).c_str(), row.accept,
                         zel::KeywordTypeName(row.type), row.semanticId, k);
        }
        std::fprintf(stream, "};\n\n");
        std::fprintf(stream, "zelSemanticS %s_semantics[] = {\n", prefix);
        for (size_t i = 0; i < m_rows.size(); ++i) {
            const zelSemanticS& row = m_rows[i];
            // A name with a backslash is quoted, so that none ends the line with one.
            const char* name = m_keywords[row.keywordId].name;
            const std::string shown = std::strchr(name, '\\') ? Quoted(name) : std::string(name);
            std::fprintf(stream, "    {%d, 0x%02x, 0x%x, %d, %d, nullptr},  // %zu %s\n", row.keywordId, row.semType,
                         row.attributes, row.alt, row.next, i, shown.c_str());
        }
        std::fprintf(stream, "};\n\n");
        std::fprintf(stream, "zelParserS %s_grammar = {%s_semantics, %zu, %s_keywords, %zu};\n", prefix, prefix,
                     m_rows.size(), prefix, m_keywords.size());
        if (m_settingsStated) {
            const std::string values[] = {CharLiteral(m_escape), std::to_string(m_extended),
                                          "0x" + Hex(m_lexicalOptions)};
            WriteSettings(stream, prefix, values);
        }
        return Flushed(stream);
    } catch (const std::bad_alloc&) {
        return 1;
    }
}

int CZelGrammar::WriteHeader(FILE* stream, const char* prefix, const char* origin) const
{
    try {
        if (!m_ready || !stream || !prefix)
            return 1;
        std::fprintf(stream, "// Declarations of the grammar tables of %s, written by \"zel gen --header\". Do not edit.\n",
                     origin ? origin : "a grammar");
        std::fprintf(stream, "#ifndef ZEL_GENERATED_%s_H\n#define ZEL_GENERATED_%s_H\n\n", prefix, prefix);
        std::fprintf(stream, "#include <zel/zel.h>\n\n");
        WriteKeywordEnumeration(stream, prefix, m_keywords);
        std::fprintf(stream, "extern zelKeywordS %s_keywords[];\n", prefix);
        std::fprintf(stream, "extern zelSemanticS %s_semantics[];\n", prefix);
        std::fprintf(stream, "extern zelParserS %s_grammar;\n", prefix);
        if (m_settingsStated)
            WriteSettings(stream, prefix, nullptr);
        std::fprintf(stream, "\n#endif\n");
        return Flushed(stream);
    } catch (const std::bad_alloc&) {
        return 1;
    }
}
