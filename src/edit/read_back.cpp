// Replays the children of a form as the form parser reads them back from the text the
// writer makes of them, one token per child: a child form is its opener (its content
// reads back by itself), a value or literal the token its written text reads as. The
// replay runs the recursive engine's level steps on the parse stack without recursion:
// a repeated group repeats on its own entry, so the stack holds one entry per grammar
// level entered and never one per child. Text in the line buffer can be read among the
// children; its nodes are made as the engine makes them, nested forms by the engine.
#include <cstring>

#include "core/allocation_guard.h"
#include "edit/read_back.h"
#include "lex/spelling.h"
#include "parse/level_steps.h"
#include "parse/match_element.h"
#include "parse/stack.h"
#include "zel/oid.h"
#include "zel/parser.h"

namespace {

// Marks an entry in the resume word whose group has matched and runs again: its level
// then yields its status (recursive engine) or 0 (iterative engine).
const short kRepeatedRun = 0x100;

}  // namespace

// Sets the current token to what the written text of child reads as. False when no token
// reads back as the child: a free node, an identifier that no spelling carries, a literal
// whose name does not read as a word, or a kind of node that the writer leaves out.
bool CZelParser::SetChildToken(const CZelOid* child)
{
    if (child->m_sem < 0)
        return false;
    const int type = GetSemanticKeywordType(child->m_sem);
    switch (type) {
    case zelKW_FORM:
        m_tokType = zelKW_FORM;
        SetTokenText(GetSemanticKeyword(child->m_sem));
        return true;
    case zelKW_INTTOK:
    case zelKW_REALTOK:
    case zelKW_STRTOK:
        // Values of these kinds match by their type alone; reals are written with a period.
        m_tokType = type;
        return true;
    case zelKW_LIT:
    case zelKW_IDENT: {
        // A literal is written as its name, an identifier as its spelling; either reads as
        // a word that the tokenizer turns into a literal when it names one.
        const char* text = type == zelKW_LIT ? GetSemanticKeyword(child->m_sem)
                                             : child->Dlink ? static_cast<const char*>(child->Dlink) : "";
        zel::LexicalSettings settings = SpellingSettings();
        if (type == zelKW_LIT)
            settings.names = nullptr;  // the scan of the name as a word alone
        const zel::IdentifierSpelling spelling = zel::SpellIdentifier(text, std::strlen(text), settings);
        if (spelling == zel::kSpellNone || (type == zelKW_LIT && spelling != zel::kSpellPlain))
            return false;
        SetTokenText(text);
        m_tokType = zelKW_IDENT;
        ConvertToktyp();
        return true;
    }
    default:
        return false;
    }
}

// Reads the next token of the replay: the text where it stands, the children around it
// (leaving out the skipped one), then ")". False past the ")" and for text that closes a
// form it did not open or ends in a token that is not complete.
bool CZelParser::NextReplayToken(zel::ChildReplay& replay)
{
    if (replay.withText && !replay.textDone && replay.next == replay.textAt) {
        if (Gettok() == 1) {
            if (m_tokType == zelKW_EOFORM)
                return false;
            if (m_tokType == zelKW_IDENT)
                ConvertToktyp();
            replay.current = nullptr;
            return true;
        }
        if (!m_inputEnded)
            return false;
        replay.textDone = true;
    }
    if (replay.next && replay.next == replay.skip)
        replay.next = replay.next->Nlink;
    if (replay.next) {
        replay.current = replay.next;
        replay.next = replay.next->Nlink;
        return SetChildToken(replay.current);
    }
    if (replay.closed)
        return false;
    replay.closed = true;
    replay.current = nullptr;
    m_tokType = zelKW_EOFORM;
    SetTokenText(")");
    return true;
}

// The current token has matched element top.sem. A child must read back as its own
// keyword. A token of the text makes a node, as the engine's level makes it, with the
// content of a form parsed by the engine. False when the replay cannot go on.
bool CZelParser::TakeReplayToken(zelStackS& top, zel::ChildReplay& replay)
{
    const int e = top.sem;
    top.status = 0;
    m_needToken = 1;
    if (replay.current)
        return GetSemanticKeywordId(e) == GetSemanticKeywordId(replay.current->m_sem);
    CZelOid* node = AddObj(e);
    if (!node)
        return false;
    if (replay.last)
        replay.last->Nlink = node;
    else
        replay.first = node;
    replay.last = node;
    m_current = node;
    if (GetSemanticKeywordType(e) != zelKW_FORM)
        return true;
    CZelOid* form = node;
    top.slot = &form;
    int r = zel::kInternal;
    if (PushStack(GetSemanticHead(e), &node->Clink, zel::kResumeCaller)) {
        r = ParseFile();
        if (PopStack())
            r = zel::kInternal;
    }
    const bool finished = r != zel::kInternal && FinishFormContent(top, r) != zel::kStop;
    top.slot = nullptr;
    return finished && m_errors == 0;
}

// Replays the content of parent as the replay describes it and returns true when the
// form reads back without a message: every token is taken where a child reads back as
// itself, no required element is missed, and the content ends at the form's ")" with
// result 0. Reports nothing of its own; the stack and the current token are left as the
// replay leaves them.
bool CZelParser::ReplayContent(const CZelOid* parent, zel::ChildReplay& replay)
{
    m_top = -1;
    m_needToken = 1;
    if (!PushStack(GetSemanticHead(parent->m_sem), nullptr, zel::kResumeCaller))
        return false;
    zel::Phase phase = zel::kTryElement;
    for (;;) {
        zelStackS& top = m_stack[m_top];
        const int e = top.sem;
        const zelSemanticS& row = m_grammar.semTable[e];
        int result = zel::kUnmatched;
        switch (phase) {
        case zel::kTryElement: {
            if (m_needToken) {
                if (!NextReplayToken(replay))
                    return false;
                m_needToken = 0;
            }
            const int m = MatchElement(e);
            if (m == 2)
                return false;  // the engine skips the form here
            if (m == 1 && m_tokType == zelKW_EOFORM) {
                m_needToken = 1;
                result = FormSatis(e);
                break;
            }
            if (m == 1 && !TakeReplayToken(top, replay))
                return false;
            if (GetSemanticKeywordType(e) == zelKW_COMPOSITE) {
                if (!PushStack(GetSemanticHead(e), nullptr, zel::kResumeComposite))
                    return false;
                continue;
            }
        }
            // fall through
        case zel::kTryAlternative:
            if (row.alt && top.status == 1) {
                if (!PushStack(row.alt, nullptr, zel::kResumeAlternative))
                    return false;
                phase = zel::kTryElement;
                continue;
            }
            // fall through
        case zel::kRepeatOrNext:
            if ((row.semType & S_GRPHEAD) && (row.semType & S_REPG) && top.status == 0) {
                top.status = 1;
                top.resume |= kRepeatedRun;
                phase = zel::kTryElement;
                continue;
            }
            if (row.next) {
                if (top.status == 1 && (row.semType & (S_REQ | S_REQG)))
                    return false;  // the engine reports the missing element
                if (!PushStack(row.next, nullptr, zel::kResumeSuccessor))
                    return false;
                phase = zel::kTryElement;
                continue;
            }
            // fall through
        case zel::kYieldStatus:
            result = top.status;
            break;
        }

        // The level at the top has its result.
        if (top.resume & kRepeatedRun)
            result = replay.iterative ? static_cast<int>(zel::kMatched) : top.status;
        const short resume = static_cast<short>(top.resume & ~kRepeatedRun);
        if (resume == zel::kResumeCaller)
            return result == zel::kMatched && replay.closed;
        if (PopStack())
            return false;
        phase = zel::HandOver(m_stack[m_top].status, resume, result);
    }
}

// True when the children of parent, without skip, read back as the same keywords under
// the level results of both engines (they differ after a repeated group). The need-token
// flag is kept; the stack and the current token are the replay's.
bool CZelParser::ChildrenReadBack(const CZelOid* parent, const CZelOid* skip)
{
    if (!parent || parent->m_sem < 0 || GetSemanticKeywordType(parent->m_sem) != zelKW_FORM || !AllocateStack())
        return false;
    const int needToken = m_needToken;
    // Without memory for the keyword index that the spellings need, nothing is granted.
    const bool readsBack = zel::GuardAllocation(*this, false, [&] {
        bool both = true;
        for (int engine = 0; engine < 2 && both; ++engine) {
            zel::ChildReplay replay;
            replay.next = parent->Clink;
            replay.skip = skip;
            replay.iterative = engine == 1;
            both = ReplayContent(parent, replay);
        }
        return both;
    });
    m_needToken = needToken;
    return readsBack;
}

const CZelOid* CZelParser::KeepIfReadsBack(const CZelOid* node)
{
    if (!node)
        return nullptr;
    CZelParser& parser = *node->m_parser;
    if (parser.ChildrenReadBack(node->Plink))
        return node;
    parser.DeleteObject(node, 1);
    return nullptr;
}
