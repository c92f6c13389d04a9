// The reporter: counts reports, applies the report cap, keeps the error state, formats
// each message from the message table and hands it to the parser's message hooks.
#ifndef ZEL_DIAG_REPORTER_H
#define ZEL_DIAG_REPORTER_H

#include "zel/diag.h"
#include "zel/platform.h"

class CZelParser;

namespace zel {

class GrammarTables;
class Lexer;
class ParseStack;

class Reporter {
public:
    // hooks: the parser whose PrintError and WriteMsg show the reports.
    explicit Reporter(CZelParser& hooks);
    // The state a report reads: the keyword names, the current token and line, the stack
    // top, the input file name. Set once, after the parser's components exist.
    void Watch(const GrammarTables& grammar, const Lexer& lexer, const ParseStack& stack, const CString& inputName)
    {
        m_grammar = &grammar;
        m_lexer = &lexer;
        m_stack = &stack;
        m_inputName = &inputName;
    }

    // Counts, caps, formats and forwards one report; arg is the element the report is
    // about (-1 none). File reports name fileName, other reports ignore it.
    void Report(zelErrCode code, int arg);
    void Report(zelErrCode code, int arg, const char* fileName);
    // A failed allocation inside an operation, straight to WriteMsg.
    void OutOfMemory();
    // The report being shown, then the last one shown (see CZelParser::GetReport).
    const zelReportS& Shown() const { return m_report; }
    // Something was read into the tree (a node made, a form closed): the next report no
    // longer follows on from the error before it.
    void ReadIntoTree() { m_afterError = false; }

    // The error count of this parse, also past the cap.
    int Errors() const { return m_errors; }
    void SetErrors(int count) { m_errors = count; }
    void CountError();
    // True once the cap has been passed: nothing more is shown or counted.
    bool Silenced() const { return m_silenced; }
    // The number of counted reports shown before the cap (kReportCap unless set).
    void SetCap(int cap) { m_cap = cap; }
    // The class of the last failure (GetErrno).
    int State() const { return m_state; }
    void SetState(int state) { m_state = state; }
    // The per-parse reset: count, cap and state back to none.
    void Reset()
    {
        m_errors = 0;
        m_silenced = false;
        m_state = 0;
        m_report = zelReportS{0, 0, 0, 0};
        m_afterError = false;
    }

private:
    void Show(zelErrCode code, zelSevCode severity, const char* text);

    CZelParser& m_hooks;
    const GrammarTables* m_grammar = nullptr;
    const Lexer* m_lexer = nullptr;
    const ParseStack* m_stack = nullptr;
    const CString* m_inputName = nullptr;
    int m_errors = 0;
    int m_cap;
    bool m_silenced = false;
    int m_state = 0;
    zelReportS m_report{0, 0, 0, 0};
    bool m_afterError = false;  // an error was shown and nothing read into the tree since
};

}  // namespace zel

#endif
