// The Parse entry points: a file, the open input stream, or a list of text strings.
#include <cstdio>

#include "core/allocation_guard.h"
#include "core/counter.h"
#include "core/parser_impl.h"
#include "diag/messages.h"
#include "zel/parser.h"

namespace zel {

namespace {

// Recovery, and the higher report cap that lets its reports show, hold for the run of one
// parse entry point, as the parser's switch says.
class RecoveryScope {
public:
    RecoveryScope(FormParser& engines, Reporter& reporter, bool on) : m_engines(engines), m_reporter(reporter)
    {
        m_engines.SetRecovery(on);
        m_reporter.SetCap(on ? kRecoveryReportCap : kReportCap);
    }
    ~RecoveryScope()
    {
        m_engines.SetRecovery(false);
        m_reporter.SetCap(kReportCap);
    }
    RecoveryScope(const RecoveryScope&) = delete;
    RecoveryScope& operator=(const RecoveryScope&) = delete;

private:
    FormParser& m_engines;
    Reporter& m_reporter;
};

}  // namespace

int ParserImpl::Parse(const char* name, const char* mode, long offset, int useAltEngine)
{
    reporter.SetState(kStateNone);
    if (!Open(name, mode)) {
        if (reporter.State() != kStateGrammar)
            reporter.SetState(kStateFile);
        return 1;
    }
    if (offset != -1 && lexer.Input())
        std::fseek(lexer.Input(), offset, SEEK_SET);
    ParseStream(useAltEngine);
    CloseInput();
    return reporter.Errors();
}

// The tokenizer has stopped: the end of input is an error only when nothing was read
// before it; any other stop is an error.
void ParserImpl::CountInputEnd(bool somethingRead)
{
    const bool endOfInput = lexer.TokenType() == zelKW_EOFILE;
    // Input that ends inside an open form, with nothing reported yet, is reported: the
    // forms read after the parenthesis that was never closed are no top-level forms and
    // would be lost without a word.
    // With recovery the problems reported before are others: this one is reported too.
    if (endOfInput && somethingRead && lexer.Depth() > 0 && (reporter.Errors() == 0 || recovery))
        reporter.Report(zelERR_UNEXPECTED_EOF, 0);
    if (!endOfInput) {
        reporter.CountError();
    } else if (!somethingRead) {
        reporter.SetState(kStateNoForm);
        reporter.CountError();
    } else {
        reporter.SetState(kStateNone);
    }
}

// Sets the engines on the goal element for the top-level form whose first token is
// current; its node goes to scratch. False on a stack overflow (reported).
bool ParserImpl::StartTopLevelForm(int goal, CZelOid*& scratch)
{
    stack.Clear();
    scratch = nullptr;
    // A form's nodes link only to nodes of the same form: no later sibling of a node of an
    // earlier form, which that form's release would leave behind.
    engines.SetCurrent(nullptr);
    if (!stack.Push(goal, &scratch, 0))
        return false;
    engines.SetNeedToken(false);
    return true;
}

namespace {

// Keeps the comments of one stream parse: from its start to its end, where those after the
// last form go behind the last goal.
class CommentScope {
public:
    explicit CommentScope(ParserImpl& impl) : m_impl(&impl), m_goalsBefore(impl.store.Goals().Count())
    {
        m_impl->comments.Begin();
        m_impl->lexer.SetCommentSink(&m_impl->comments);
        m_impl->engines.SetCommentCollector(&m_impl->comments);
    }
    ~CommentScope()
    {
        m_impl->lexer.SetCommentSink(nullptr);
        m_impl->engines.SetCommentCollector(nullptr);
        const GoalTable& goals = m_impl->store.Goals();
        m_impl->comments.Finish(goals.Count() > m_goalsBefore ? goals.At(goals.Count() - 1) : nullptr);
    }
    CommentScope(const CommentScope&) = delete;
    CommentScope& operator=(const CommentScope&) = delete;

private:
    ParserImpl* m_impl;
    const int m_goalsBefore;  // the goals of earlier parses
};

}  // namespace

ParserImpl::TopLevelNext ParserImpl::ReadTopLevelForm(int goal, int depthBefore, bool useAltEngine, CZelOid*& scratch,
                                                      bool& straying)
{
    const int errorsBefore = reporter.Errors();
    if (!StartTopLevelForm(goal, scratch))
        return kBroken;
    const int r = useAltEngine ? engines.ParseFile2() : engines.ParseFile();
    store.KeepOrphans(scratch);
    if (r == kMatched) {
        straying = false;
        return kReadOn;
    }
    if (!recovery)
        return kGiveUp;
    const bool report = !straying && reporter.Errors() == errorsBefore;
    straying = true;
    return RecoverTopLevel(r, goal, depthBefore, report);
}

// Recovery after a top-level form whose parse gave r: the problem is reported when report
// says so, and the rest of the form skipped down to depthBefore, the form depth before its
// first token.
ParserImpl::TopLevelNext ParserImpl::RecoverTopLevel(int r, int goal, int depthBefore, bool report)
{
    // A full goal table takes no further form: the parse ends as without recovery.
    if (r == kInternal || store.Goals().Count() >= store.Goals().Max())
        return kGiveUp;
    if (lexer.InputEnded())
        return kAtEnd;
    if (report) {
        reporter.SetState(kStateNone);  // each run of forms that are no goal is shown, not only the first
        reporter.Report(zelERR_MISSING_GOAL, goal);
    }
    if (!engines.SkipTo(depthBefore))
        return kAtEnd;
    // A ")" that closes no form leaves the depth where it was: the next form is a goal.
    lexer.SetDepth(depthBefore);
    return kReadOn;
}

int ParserImpl::ParseStream(int useAltEngine)
{
    const int goalsBefore = store.Goals().Count();
    int errors;
    if (!keepComments) {
        errors = ReadForms(useAltEngine);
    } else {
        const CommentScope keep(*this);
        errors = ReadForms(useAltEngine);
    }
    // A form links its children when its content matched; the forms that failed did not.
    if (errors)
        store.LinkParents(goalsBefore);
    return errors;
}

// The engines' loop stays apart from the comment scope, which would burden it.
__attribute__((noinline)) int ParserImpl::ReadForms(int useAltEngine)
{
    reporter.SetState(kStateNone);
    if (!grammar.Use(reporter) || !stack.Allocate())
        return 1;
    const RecoveryScope scope(engines, reporter, recovery);
    const int goal = grammar.KeywordHead(kGoalKeyword);
    bool formRead = false;
    CZelOid* scratch = nullptr;
    engines.SetRecordGoals(true);
    bool straying = false;  // recovery: the forms since the last goal read are no goals
    for (int depthBefore = lexer.Depth(); lexer.Gettok() == 1; depthBefore = lexer.Depth()) {
        formRead = true;
        const TopLevelNext next = ReadTopLevelForm(goal, depthBefore, useAltEngine != 0, scratch, straying);
        if (next == kReadOn)
            continue;
        if (next == kAtEnd)
            break;
        if (next == kBroken) {
            CloseInput();
            return 1;
        }
        if (reporter.Errors() == 0)
            reporter.Report(zelERR_MISSING_GOAL, goal);
        if (reporter.Errors())
            front.ErrorSummary();
        return reporter.Errors();
    }
    CountInputEnd(formRead);
    if (reporter.Errors() == 0 && stack.TopIndex() != 0)
        reporter.SetErrors(1);
    if (reporter.Errors())
        front.ErrorSummary();
    return reporter.Errors();
}

int ParserImpl::ParseLines(CStringList* lines)
{
    const int goalsBefore = store.Goals().Count();
    const int errors = ReadLines(lines);
    if (errors)
        store.LinkParents(goalsBefore);
    return errors;
}

int ParserImpl::ReadLines(CStringList* lines)
{
    reporter.SetState(kStateNone);
    Reinit();
    if (!lines || lines->IsEmpty() || !grammar.Use(reporter) || !stack.Allocate())
        return 1;
    const RecoveryScope scope(engines, reporter, recovery);
    // Literal keywords are recognised through the keyword index, also when no file
    // was opened to build it.
    if (!grammar.EnsureKeywords(reporter))
        return 1;
    const int goal = grammar.KeywordHead(kGoalKeyword);
    bool tokenRead = false;
    CZelOid* scratch = nullptr;
    engines.SetRecordGoals(true);
    lexer.SetTextOnly(true);
    bool straying = false;  // recovery: the forms since the last goal read are no goals
    // A string that ends the reading on a fault (one too long to take) ends the parse.
    for (POSITION pos = lines->GetHeadPosition(); pos && !lexer.ReadStopped();) {
        lexer.SetText(lines->GetNext(pos));
        lexer.SetDepth(0);  // each string holds whole forms
        bool failed = false;
        for (int depthBefore = lexer.Depth(); lexer.Gettok() == 1; depthBefore = lexer.Depth()) {
            tokenRead = true;
            const TopLevelNext next = ReadTopLevelForm(goal, depthBefore, false, scratch, straying);
            if (next == kReadOn)
                continue;
            if (next == kAtEnd)
                break;
            if (next == kBroken) {
                lexer.SetTextOnly(false);
                return 1;
            }
            reporter.Report(zelERR_MISSING_GOAL, goal);
            failed = true;
            break;
        }
        if (failed)
            continue;
        CountInputEnd(tokenRead);
    }
    lexer.SetTextOnly(false);
    stack.Free();
    if (reporter.Errors() == 0 && stack.TopIndex() != 0) {
        std::printf("%s", kLineListStackMessage);
        reporter.SetErrors(reporter.Errors() + 1);
    }
    return reporter.Errors();
}

}  // namespace zel
