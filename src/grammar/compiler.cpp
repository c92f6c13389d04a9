// CZelGrammar: compiles grammar text into tables it owns, and writes them as C++ source.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <strings.h>

#include "core/conventions.h"
#include "grammar/grammar_text.h"
#include "grammar/reachability.h"
#include "grammar/table_builder.h"
#include "zel/compiler.h"

CZelGrammar::CZelGrammar()
    : m_descriptor(), m_ready(false), m_escape(0), m_extended(0), m_lexicalOptions(0), m_settingsStated(false)
{
}

CZelGrammar::~CZelGrammar() = default;

// Compiling stops when memory runs out: no tables, and the one error "out of memory".
int CZelGrammar::OutOfMemory()
{
    m_ready = false;
    m_keywords.clear();
    m_keywords.shrink_to_fit();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_descriptor = zelParserS();
    SetSettings(false, 0, 0, 0);
    m_errors.RemoveAll();
    m_warnings.RemoveAll();
    try {
        m_errors.AddTail("out of memory");
    } catch (const std::bad_alloc&) {
        // Not even the message fits; the result still tells of the failure.
    }
    return 1;
}

int CZelGrammar::Compile(const char* text)
{
    try {
        m_errors.RemoveAll();
        m_warnings.RemoveAll();
        m_ready = false;
        std::vector<std::string> errors, warnings;
        const zel::GrammarText grammar = zel::ReadGrammar(text, errors);
        std::vector<zel::RowSource> sources;
        if (errors.empty())
            zel::BuildTables(grammar, m_keywords, m_rows, errors, sources);
        // Tokens are told apart as the grammar's own rule set tells them.
        if (errors.empty())
            zel::FindUnreachable(m_keywords, m_rows, sources, grammar.settings.extended, warnings);
        for (const std::string& error : errors)
            m_errors.AddTail(error.c_str());
        for (const std::string& warning : warnings)
            m_warnings.AddTail(warning.c_str());
        m_ready = errors.empty();
        if (!m_ready) {
            m_keywords.clear();
            m_rows.clear();
        }
        m_descriptor.semTable = m_ready ? m_rows.data() : nullptr;
        m_descriptor.semCount = static_cast<int>(m_rows.size());
        m_descriptor.kwTable = m_ready ? m_keywords.data() : nullptr;
        m_descriptor.kwCount = static_cast<int>(m_keywords.size());
        const zel::StatedSettings& settings = grammar.settings;
        SetSettings(m_ready && settings.stated, settings.escape, settings.extended, settings.options);
        return static_cast<int>(errors.size());
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
}

int CZelGrammar::CompileFile(const char* fileName)
{
    // A read error (a directory, for one) is told apart from an empty file, with the
    // system's reason taken right after the call that failed.
    FILE* in = fileName ? std::fopen(fileName, "rb") : nullptr;
    int reason = in || !fileName ? 0 : errno;
    try {
        std::string text;
        bool readable = in != nullptr;
        if (in) {
            char block[4096];
            size_t n;
            while ((n = std::fread(block, 1, sizeof block, in)) > 0)
                text.append(block, n);
            readable = !std::ferror(in);
            if (!readable)
                reason = errno;
            std::fclose(in);
            in = nullptr;
        }
        if (!readable) {
            m_errors.RemoveAll();
            m_warnings.RemoveAll();
            m_ready = false;
            SetSettings(false, 0, 0, 0);
            std::string message = std::string("cannot read grammar file \"") + (fileName ? fileName : "") + "\"";
            if (reason != 0)
                message += std::string(": ") + std::strerror(reason);
            m_errors.AddTail(message.c_str());
            return 1;
        }
        return Compile(text.c_str());
    } catch (const std::bad_alloc&) {
        if (in)
            std::fclose(in);
        return OutOfMemory();
    }
}

const CStringList& CZelGrammar::GetErrors() const { return m_errors; }

const CStringList& CZelGrammar::GetWarnings() const { return m_warnings; }

zelParserS* CZelGrammar::GetDescriptor() { return m_ready ? &m_descriptor : nullptr; }

void CZelGrammar::SetSettings(bool stated, char escape, int extended, int lexicalOptions)
{
    m_settingsStated = stated;
    m_escape = stated ? escape : 0;
    m_extended = stated ? extended : 0;
    m_lexicalOptions = stated ? lexicalOptions : 0;
}

char CZelGrammar::GetEscapeChar() const { return m_escape; }

int CZelGrammar::GetExtendedSyntax() const { return m_extended; }

int CZelGrammar::GetLexicalOptions() const { return m_lexicalOptions; }

int CZelGrammar::GetKeywordId(const char* name) const
{
    if (!m_ready || !name)
        return -1;
    const size_t length = std::strlen(name);
    const bool quoted = length >= 2 && name[0] == '"' && name[length - 1] == '"';
    const bool angle = length >= 2 && name[0] == '<' && name[length - 1] == '>';
    const char* bare = quoted || angle ? name + 1 : name;
    const size_t bareLength = quoted || angle ? length - 2 : length;
    // The first row of that name that is of the kind asked for. Groups are named by their
    // text in parentheses and are not looked up by name.
    auto find = [this](const char* wanted, size_t wantedLength, bool (*accepts)(size_t, const zelKeywordS&)) {
        for (size_t k = 0; k < m_keywords.size(); ++k) {
            const zelKeywordS& row = m_keywords[k];
            if (row.name[0] != '(' && strnlen(row.name, sizeof row.name) == wantedLength &&
                strncasecmp(row.name, wanted, wantedLength) == 0 && accepts(k, row))
                return static_cast<int>(k);
        }
        return -1;
    };
    auto any = [](size_t, const zelKeywordS&) { return true; };
    auto literal = [](size_t, const zelKeywordS& row) { return row.type == zelKW_LIT; };
    auto kind = [](size_t k, const zelKeywordS& row) { return k < zel::kFixedKeywords || row.type == zelKW_WORDTOK; };
    if (quoted)
        return find(bare, bareLength, literal);
    int k = find(name, length, angle ? kind : any);
    if (k < 0 && angle)
        k = find(bare, bareLength, kind);
    if (k < 0 && bareLength == 7 && strncasecmp(bare, "integer", 7) == 0)
        k = zel::kIntKeyword;
    return k;
}
