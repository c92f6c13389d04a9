// A parser's components built one by one, for the tests of one of them: a reporter whose
// hooks are a recording parser's, the grammar tables with their keyword index, a lexer
// and a parse stack.
#ifndef ZEL_TESTS_COMPONENTS_H
#define ZEL_TESTS_COMPONENTS_H

#include <cstdio>
#include <string>

#include "core/grammar_tables.h"
#include "diag/reporter.h"
#include "lex/lexer.h"
#include "parse/stack.h"
#include "support/test_grammars.h"

namespace zeltest {

struct Components {
    explicit Components(zelParserS* tables, char escape = 0, bool extended = false, int stackSize = 64, int options = 0)
        : grammar(tables), lexer(reporter, grammar.Names(), escape, extended, options), stack(reporter, stackSize)
    {
        reporter.Watch(grammar, lexer, stack, inputName);
        grammar.LoadKeywords();
        stack.Allocate();
    }
    ~Components()
    {
        if (m_file)
            std::fclose(m_file);
    }
    Components(const Components&) = delete;
    Components& operator=(const Components&) = delete;

    // Writes text to a temporary file and makes it the input stream.
    void SetFile(const std::string& text)
    {
        m_file = std::fopen(TempFile(text).c_str(), "r");
        lexer.SetInput(m_file);
    }
    // Makes text the whole input.
    void SetText(const std::string& text)
    {
        lexer.SetTextOnly(true);
        lexer.SetText(text.c_str());
    }
    // Cuts one token and turns an identifier that spells a literal keyword into a literal
    // token, as the form parser does: "TYPE:text", or "fail/TYPE" when Gettok yields 0.
    std::string Next()
    {
        static const char* const kTypeNames[] = {"DUMMY", "FORM", "EOFORM", "COMPOSITE", "INT", "REAL",
                                                 "STR", "IDENT", "LIT", "EOF", "EMPTY", "LITIDENT"};
        const int ok = lexer.Gettok();
        if (ok && lexer.TokenType() == zelKW_IDENT)
            lexer.ConvertToktyp();
        return (ok ? "" : "fail/") + std::string(kTypeNames[lexer.TokenType()]) + (ok ? std::string(":") + lexer.TokenText() : "");
    }

    RecordingParser hooks;  // PrintError and WriteMsg record what the reporter shows
    zel::Reporter reporter{hooks};
    zel::GrammarTables grammar;
    zel::Lexer lexer;
    zel::ParseStack stack;
    CString inputName;

private:
    FILE* m_file = nullptr;
};

}  // namespace zeltest

#endif
