// The Parse entry points: a file, the open input stream, or a list of text strings.
#include <cstdio>

#include "core/allocation_guard.h"
#include "core/counter.h"
#include "parse/stack.h"
#include "zel/oid.h"
#include "zel/parser.h"

int CZelParser::Parse(const char* name, int useAltEngine) { return Parse(name, "rw", -1L, useAltEngine); }

int CZelParser::Parse(const char* name, long offset, int useAltEngine)
{
    return Parse(name, "rw", offset, useAltEngine);
}

int CZelParser::Parse(const char* name, const char* mode, long offset, int useAltEngine)
{
    m_errno = 0;
    if (!Open(name, mode)) {
        if (m_errno != zelERRNO_GRAMMAR)
            m_errno = 4;
        return 1;
    }
    if (offset != -1 && m_in)
        std::fseek(m_in, offset, SEEK_SET);
    Parse(useAltEngine);
    if (m_in) {
        // The output side of an "rw" or "+" open is the same stream: it goes too,
        // while the output file name stays for Save.
        if (m_out == m_in)
            m_out = nullptr;
        std::fclose(m_in);
        m_in = nullptr;
    }
    return m_errors;
}

// The tokenizer has stopped: the end of input is an error only when nothing was read
// before it; any other stop is an error.
void CZelParser::CountInputEnd(bool somethingRead)
{
    // Input that ends inside an open form, with nothing reported yet, is reported: the
    // forms read after the parenthesis that was never closed are no top-level forms and
    // would be lost without a word.
    if (m_tokType == zelKW_EOFILE && somethingRead && m_depth > 0 && m_errors == 0)
        ReportError(zelERR_UNEXPECTED_EOF, 0);
    if (m_tokType != zelKW_EOFILE) {
        zel::CountUp(m_errors);
    } else if (!somethingRead) {
        m_errno = 3;
        zel::CountUp(m_errors);
    } else {
        m_errno = 0;
    }
}

int CZelParser::Parse(int useAltEngine)
{
    m_errno = 0;
    if (!UseGrammar() || !AllocateStack())
        return 1;
    const int goal = GetKeywordSemanticId(7);
    bool formRead = false;
    CZelOid* scratch = nullptr;
    m_recordGoals = true;
    m_parsingStream = true;
    while (Gettok() == 1) {
        formRead = true;
        m_top = -1;
        scratch = nullptr;
        if (!PushStack(goal, &scratch, 0)) {
            m_parsingStream = false;
            if (m_in) {
                if (m_out == m_in)
                    m_out = nullptr;
                std::fclose(m_in);
                m_in = nullptr;
            }
            return 1;
        }
        m_needToken = 0;
        const int r = useAltEngine ? ParseFile2() : ParseFile();
        KeepOrphan(scratch);
        if (r == 0)
            continue;
        m_parsingStream = false;
        if (m_errors == 0)
            ReportError(zelERR_MISSING_GOAL, goal);
        if (m_errors)
            ErrorSummary();
        return m_errors;
    }
    m_parsingStream = false;
    CountInputEnd(formRead);
    if (m_errors == 0 && m_top != 0)
        m_errors = 1;
    if (m_errors)
        ErrorSummary();
    return m_errors;
}

int CZelParser::Parse(CStringList* lines)
{
    m_errno = 0;
    ReinitParser();
    if (!lines || lines->IsEmpty() || !UseGrammar() || !AllocateStack())
        return 1;
    // Literal keywords are recognised through the keyword index, also when no file
    // was opened to build it.
    if (m_keywords.GetCount() == 0 && !zel::GuardAllocation(*this, false, [&] { return LoadKeywords() == 1; }))
        return 1;
    const int goal = GetKeywordSemanticId(7);
    bool tokenRead = false;
    CZelOid* scratch = nullptr;
    m_recordGoals = true;
    m_fromText = true;
    // A string that ends the reading on a fault (one too long to take) ends the parse.
    for (POSITION pos = lines->GetHeadPosition(); pos && !m_readStopped;) {
        SetLineText(lines->GetNext(pos));
        m_depth = 0;  // each string holds whole forms
        bool failed = false;
        while (Gettok() == 1) {
            tokenRead = true;
            m_top = -1;
            scratch = nullptr;
            if (!PushStack(goal, &scratch, 0)) {
                m_fromText = false;
                return 1;
            }
            m_needToken = 0;
            const int r = ParseFile();
            KeepOrphan(scratch);
            if (r != 0) {
                ReportError(zelERR_MISSING_GOAL, goal);
                failed = true;
                break;
            }
        }
        if (failed)
            continue;
        CountInputEnd(tokenRead);
    }
    m_fromText = false;
    delete[] m_stack;
    m_stack = nullptr;
    if (m_errors == 0 && m_top != 0) {
        std::printf("\nParser Error: Internal stack error.\n");
        ++m_errors;
    }
    return m_errors;
}
