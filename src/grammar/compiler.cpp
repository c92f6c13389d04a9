// CZelGrammar: compiles grammar text into tables it owns, and writes them as C++ source.
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

CZelGrammar::CZelGrammar() : m_descriptor(), m_ready(false) {}

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
        // Tokens are told apart as the plain rules tell them.
        if (errors.empty())
            zel::FindUnreachable(m_keywords, m_rows, sources, false, warnings);
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
        return static_cast<int>(errors.size());
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
}

int CZelGrammar::CompileFile(const char* fileName)
{
    // A read error (a directory, for one) is told apart from an empty file.
    FILE* in = fileName ? std::fopen(fileName, "rb") : nullptr;
    try {
        std::string text;
        bool readable = in != nullptr;
        if (in) {
            char block[4096];
            size_t n;
            while ((n = std::fread(block, 1, sizeof block, in)) > 0)
                text.append(block, n);
            readable = !std::ferror(in);
            std::fclose(in);
            in = nullptr;
        }
        if (!readable) {
            m_errors.RemoveAll();
            m_warnings.RemoveAll();
            m_ready = false;
            m_errors.AddTail((std::string("cannot read grammar file \"") + (fileName ? fileName : "") + "\"").c_str());
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

int CZelGrammar::GetKeywordId(const char* name) const
{
    if (!m_ready || !name)
        return -1;
    if (strcasecmp(name, "integer") == 0)
        return zel::kIntKeyword;
    // Groups are named by their text in parentheses and are not looked up by name.
    for (size_t k = 0; k < m_keywords.size(); ++k)
        if (m_keywords[k].name[0] != '(' && strcasecmp(m_keywords[k].name, name) == 0)
            return static_cast<int>(k);
    return -1;
}
