// Error reporting: counting, the report cap, message texts and the message hooks.
#include "diag/reporter.h"

#include <new>

#include "core/conventions.h"
#include "core/counter.h"
#include "core/grammar_tables.h"
#include "diag/messages.h"
#include "lex/lexer.h"
#include "parse/stack.h"
#include "zel/parser.h"

namespace zel {

Reporter::Reporter(CZelParser& hooks) : m_hooks(hooks), m_cap(kReportCap) {}

void Reporter::CountError() { CountUp(m_errors); }

void Reporter::OutOfMemory()
{
    // A failed allocation is about no place and has no code of its own.
    m_report = zelReportS{zelERR_NONE, 0, 0, m_afterError ? 1 : 0};
    m_afterError = true;
    WriteHeapMessage(m_hooks);
}

namespace {

// Reports about the files, the tables, the stack or memory, not about a place in the input.
bool AboutNoPlace(zelErrCode code)
{
    switch (code) {
    case zelERR_OPEN_FILE:
    case zelERR_READ_FILE:
    case zelERR_BUFFER_LENGTH:
    case zelERR_GRAMMAR_TABLES:
    case zelERR_STACK_UNDERFLOW:
    case zelERR_STACK_OVERFLOW:
        return true;
    default:
        return false;
    }
}

}  // namespace

// Records what the report is about, then hands it to PrintError. After the end of the
// input a report is about the place the end is charged to (an open quote, the innermost
// open form); an error or note that nothing read into the tree separates from the error
// before it follows on from it.
void Reporter::Show(zelErrCode code, zelSevCode severity, const char* text)
{
    TextPosition at{0, 0};
    if (!AboutNoPlace(code))
        at = m_lexer->InputEnded() && !m_lexer->ReadStopped() ? m_lexer->EndPosition() : m_lexer->TokenPosition();
    const bool followsOn = m_afterError && severity != zelSEV_WARNING;
    m_report = zelReportS{code, at.line, at.column, followsOn ? 1 : 0};
    if (severity == zelSEV_ERROR)
        m_afterError = true;
    m_hooks.PrintError(severity, m_lexer->LineNo(), text);
}

void Reporter::Report(zelErrCode code, int arg) { Report(code, arg, *m_inputName); }

void Reporter::Report(zelErrCode code, int arg, const char* fileName)
{
    if (m_silenced)
        return;
    CountUp(m_errors);  // the parse entries may have counted past the cap without a report
    if (m_errors > m_cap) {
        m_silenced = true;
        return;
    }
    const MessageRow* row = MessageOf(code);
    if (!row || !row->text)
        return;

    const char* keyword = nullptr;
    if (arg >= 0 && m_grammar->Has())
        keyword = m_grammar->ElementName(arg);
    if (!keyword)
        keyword = "";
    const char* token = m_lexer->TokenText();

    // Without memory to format the message, its text is shown unformatted: a report is
    // never lost and never throws.
    CString text;
    const char* shown = row->text;
    try {
        switch (code) {
        case zelERR_MISSING_GOAL:
            if (m_state != kStateNone)
                return;
            m_state = kStateMissingGoal;
            text.Format(row->text, keyword);
            break;
        case zelERR_OPEN_FILE:
        case zelERR_READ_FILE:
            text.Format(row->text, fileName ? fileName : "");
            break;
        case zelERR_UNEXPECTED_TOKEN:
            Report(zelERR_UNRECOGNIZED_FORM, 0);
            text.Format(row->text, token, keyword);
            break;
        case zelERR_SKIPPING_FORM:
        case zelERR_ONLY_ONCE:
            text.Format(row->text, keyword);
            break;
        case zelERR_EXPECTING:
            text.Format(row->text, keyword, token);
            break;
        case zelERR_EXPECTING_EOFORM:
        case zelERR_INT_RANGE:
        case zelERR_REAL_RANGE:
        case zelERR_NUMBER_TEXT:
            text.Format(row->text, token);
            break;
        case zelERR_UNRECOGNIZED_FORM:
            // A token that names a keyword is no unrecognised form: nothing is shown or counted.
            if (m_grammar->IsKeywordKey(token)) {
                --m_errors;
                return;
            }
            text.Format(row->text, token);
            break;
        case zelERR_GRAMMAR_TABLES:
            m_state = kStateGrammar;
            text.Format(row->text, m_grammar->Fault().c_str());
            break;
        case zelERR_STACK_UNDERFLOW:
        case zelERR_STACK_OVERFLOW:
            m_state = code;
            text.Format(row->text, m_stack->TopIndex());
            break;
        default:
            text = row->text;
            break;
        }
        shown = text;
    } catch (const std::bad_alloc&) {
    }

    Show(code, row->severity, shown);
    m_errors += row->count;
}

}  // namespace zel
