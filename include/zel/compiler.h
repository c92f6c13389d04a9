// CZelGrammar: compiles a grammar written in the zel grammar language into the keyword
// and semantic tables that CZelParser reads.
#ifndef ZEL_COMPILER_H
#define ZEL_COMPILER_H

#include <cstdio>
#include <vector>

#include "zel/export.h"
#include "zel/grammar.h"
#include "zel/platform.h"

// The grammar object owns its tables; it must outlive every parser built on it, since
// the parsers read (and symbol registration writes) the tables in place. Compiling again
// replaces the tables, so no parser may be using them then.
class ZEL_API CZelGrammar {
public:
    CZelGrammar();
    ~CZelGrammar();
    CZelGrammar(const CZelGrammar&) = delete;
    CZelGrammar& operator=(const CZelGrammar&) = delete;

    // Compiles grammar text. Returns the number of errors: 0 means the tables are ready.
    // When memory runs out the result is 1, with the one error "out of memory".
    int Compile(const char* text);
    // Compiles the grammar in a file. Returns the number of errors (1 when unreadable).
    int CompileFile(const char* fileName);
    // Returns one message per error, "line N: text", in the order found.
    const CStringList& GetErrors() const;
    // Returns one message per warning of the last compile that succeeded, "line N: warning:
    // text", in line order: alternatives and elements that no input can reach. Warnings
    // never make a compile fail; the list is empty after a failed one.
    const CStringList& GetWarnings() const;

    // Returns the descriptor for CZelParser, or null when nothing has compiled.
    zelParserS* GetDescriptor();
    // Returns the keyword id of a form, choice, value or literal name, or -1. A name in
    // double quotes asks for the literal of that name (which has a row of its own where a
    // form, choice or value has the name too); one in angle brackets for the built-in
    // kind ("<string>", "<word>").
    int GetKeywordId(const char* name) const;

    // The lexical settings the grammar states (rules, escape, option statements), for
    // CZelParser's constructor; each is 0 when the grammar says nothing or nothing compiled.
    char GetEscapeChar() const;
    int GetExtendedSyntax() const;
    int GetLexicalOptions() const;

    // Writes C++ source defining the tables as <prefix>_keywords, <prefix>_semantics and
    // the descriptor <prefix>_grammar, with an enumeration of the keyword ids, and, when
    // the grammar states lexical settings, the constants <prefix>_escape,
    // <prefix>_extended and <prefix>_lexical_options. Returns 0, or 1 when nothing has
    // compiled, the stream is null, a write or flush fails or memory runs out.
    int WriteSource(FILE* stream, const char* prefix, const char* origin) const;
    // WriteSource for use with the header WriteHeader writes: the source includes header
    // (written as #include "header") in place of the enumeration. Returns as WriteSource,
    // and 1 for an empty header name or one with a quote or line break.
    int WriteSource(FILE* stream, const char* prefix, const char* origin, const char* header) const;
    // Writes a C++ header for the tables WriteSource defines, so that several translation
    // units can use them: the enumeration of the keyword ids, the declarations of
    // <prefix>_keywords, <prefix>_semantics and <prefix>_grammar, and those of the
    // lexical settings constants when the grammar states settings. Returns as WriteSource.
    int WriteHeader(FILE* stream, const char* prefix, const char* origin) const;

private:
    int OutOfMemory();
    void SetSettings(bool stated, char escape, int extended, int lexicalOptions);

    std::vector<zelKeywordS> m_keywords;
    std::vector<zelSemanticS> m_rows;
    zelParserS m_descriptor;
    CStringList m_errors;
    CStringList m_warnings;
    bool m_ready;
    char m_escape;
    int m_extended;
    int m_lexicalOptions;
    bool m_settingsStated;  // the grammar has a rules, escape or option statement
};

#endif
