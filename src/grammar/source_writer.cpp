// C++ source for a compiled grammar: the tables as writable arrays, the descriptor and
// an enumeration of the keyword ids.
#include <cstdio>
#include <cstring>
#include <new>
#include <set>
#include <string>

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

}  // namespace

int CZelGrammar::WriteSource(FILE* stream, const char* prefix, const char* origin) const
{
    // Memory that runs out while the text is formed ends the writing as a failure.
    try {
        if (!m_ready || !stream || !prefix)
            return 1;
        std::fprintf(stream, "// Grammar tables of %s, written by \"zel gen\". Do not edit.\n", origin ? origin : "a grammar");
        std::fprintf(stream, "#include <zel/zel.h>\n\n");
        std::fprintf(stream, "enum %s_keyword {\n", prefix);
        // One enumerator per row: a group is left out (its name is its text in parentheses),
        // and a name that comes out like an earlier one gets the id.
        std::set<std::string> used;
        for (size_t k = zel::kFixedKeywords; k < m_keywords.size(); ++k) {
            if (m_keywords[k].name[0] == '(')
                continue;
            std::string id = Identifier(m_keywords[k].name);
            if (!used.insert(id).second)
                used.insert(id += "_" + std::to_string(k));
            std::fprintf(stream, "    %s_KW_%s = %zu,\n", prefix, id.c_str(), k);
        }
        std::fprintf(stream, "};\n\n");
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
            std::fprintf(stream, "\n// The lexical settings, for CZelParser's constructor.\n");
            std::fprintf(stream, "extern const char %s_escape = %s;\n", prefix, CharLiteral(m_escape).c_str());
            std::fprintf(stream, "extern const int %s_extended = %d;\n", prefix, m_extended);
            std::fprintf(stream, "extern const int %s_lexical_options = 0x%x;\n", prefix, m_lexicalOptions);
        }
        return 0;
    } catch (const std::bad_alloc&) {
        return 1;
    }
}
