// CZelParser: the front. Each public operation checks what the front must check (a node of
// this parser, a usable grammar) and forwards to the component that owns the operation.
#include <cstdio>
#include <new>

#include "core/allocation_guard.h"
#include "core/parser_impl.h"
#include "core/type_names.h"
#include "diag/messages.h"
#include "edit/goals.h"
#include "output/dump.h"
#include "tree/node_access.h"
#include "tree/node_fields.h"
#include "tree/symbols.h"
#include "zel/oid.h"
#include "zel/parser.h"

using zel::ParserImpl;

namespace {

// The file name, or an empty one for a parser built without memory.
CString& NameOrNone(CString* name)
{
    static CString none;
    return name ? *name : none = "";
}

}  // namespace

CZelParser::CZelParser(zelParserS* grammar, int maxGoals, int stackSize, char escapeChar, int extendedSyntax,
                       int lexicalOptions)
    : m_impl(nullptr)
{
    try {
        m_impl = new ParserImpl(*this, grammar, maxGoals, stackSize, escapeChar, extendedSyntax,
                                lexicalOptions);
    } catch (const std::bad_alloc&) {
        // Without its state a parser can do nothing: every operation fails.
        std::printf("%s", zel::kHeapMessage);
    }
}

CZelParser::~CZelParser() { delete m_impl; }

// --- Lifecycle and files

int CZelParser::GetErrno() const { return m_impl ? m_impl->reporter.State() : zel::kStateNone; }

void CZelParser::SetIfname(const char* name)
{
    if (m_impl)
        m_impl->inputName = name;
}

CString& CZelParser::GetIfname() { return NameOrNone(m_impl ? &m_impl->inputName : nullptr); }

void CZelParser::SetOfname(const char* name)
{
    if (m_impl)
        m_impl->outputName = name;
}

CString& CZelParser::GetOfname() { return NameOrNone(m_impl ? &m_impl->outputName : nullptr); }

int CZelParser::Open(const char* name, const char* mode) { return m_impl ? m_impl->Open(name, mode) : 0; }

int CZelParser::Close() { return m_impl ? m_impl->Close() : 1; }

void CZelParser::ReinitParser()
{
    if (m_impl)
        m_impl->Reinit();
}

void CZelParser::FullInit()
{
    if (m_impl)
        m_impl->FullInit();
}

// --- Parsing

int CZelParser::Parse(const char* name, int useAltEngine) { return Parse(name, "rw", -1L, useAltEngine); }

int CZelParser::Parse(const char* name, long offset, int useAltEngine) { return Parse(name, "rw", offset, useAltEngine); }

int CZelParser::Parse(const char* name, const char* mode, long offset, int useAltEngine)
{
    return m_impl ? m_impl->Parse(name, mode, offset, useAltEngine) : 1;
}

int CZelParser::Parse(int useAltEngine) { return m_impl ? m_impl->ParseStream(useAltEngine) : 1; }

int CZelParser::Parse(CStringList* lines) { return m_impl ? m_impl->ParseLines(lines) : 1; }

int CZelParser::GotoEoform() { return m_impl ? m_impl->engines.GotoEoform() : 0; }

// --- Goals

const CZelOid* CZelParser::GetGoal(int* keyword) const
{
    const CZelOid* goal = m_impl ? m_impl->store.Goals().At(0) : nullptr;
    if (!goal || zel::SemOf(goal) < 0)
        return nullptr;
    if (keyword)
        *keyword = goal->GetKeywordId();
    return goal;
}

const CZelOid* CZelParser::GetGoal(int keyword) const
{
    for (int i = 0; i < GetGoalCount(); ++i) {
        const CZelOid* goal = m_impl->store.Goals().At(i);
        if (goal && goal->GetKeywordId() == keyword)
            return goal;
    }
    return nullptr;
}

CZelOid* CZelParser::SetGoal(int keyword)
{
    FullInit();
    return AddGoal(keyword);
}

CZelOid* CZelParser::AddGoal(int keyword)
{
    if (!m_impl || !m_impl->grammar.Use(m_impl->reporter))
        return nullptr;
    return zel::AddGoal(m_impl->grammar, m_impl->store, keyword);
}

int CZelParser::GetGoalCount() const { return m_impl ? m_impl->store.Goals().Count() : 0; }

const CZelOid* CZelParser::GetGoalAt(int i) const { return m_impl ? m_impl->store.Goals().At(i) : nullptr; }

// --- Editing from text

const CZelOid* CZelParser::AddObject(const CZelOid* parent, const char* text)
{
    return m_impl ? m_impl->Edit().AddObject(parent, text) : nullptr;
}

const CZelOid* CZelParser::AddChildObject(const CZelOid* parent, CStringList* lines)
{
    if (!lines || lines->IsEmpty())
        return nullptr;
    const CString line = lines->RemoveHead();
    return AddObject(parent, line);
}

const CZelOid* CZelParser::InsObject(const CZelOid* node, CStringList* lines)
{
    return m_impl ? m_impl->Edit().PlaceLine(node, lines, false) : nullptr;
}

const CZelOid* CZelParser::ReplaceObject(const CZelOid* node, CStringList* lines)
{
    return m_impl ? m_impl->Edit().PlaceLine(node, lines, true) : nullptr;
}

int CZelParser::RemObject(const CZelOid* node) { return m_impl ? m_impl->Edit().Remove(node) : 0; }

int CZelParser::ReplaceData(const CZelOid* node, const char* text)
{
    if (!node || zel::SemOf(node) < 0 || !text)
        return 0;
    if (!m_impl || !m_impl->store.Owns(node))
        return -1;
    return zel::ReplaceValueText(node, text);
}

// --- Objects

int CZelParser::DeleteObject(const CZelOid* node, int /*unlink*/)
{
    if (!node)
        return 1;
    if (!m_impl || !m_impl->store.Owns(node))
        return 0;
    // A destroyed node never stays on a chain or in the goal table, whatever unlink says:
    // a link left pointing at it would lead to freed memory.
    return m_impl->store.Delete(const_cast<CZelOid*>(node)) ? 1 : 0;
}

void CZelParser::DeleteAllObjects()
{
    if (m_impl)
        m_impl->store.DeleteAll();
}

// --- Symbols

void CZelParser::StoreSymbol(const CZelOid* node, const char* name)
{
    if (m_impl && m_impl->store.Owns(node))
        zel::StoreSymbol(m_impl->grammar, m_impl->reporter, m_impl->trace != 0, node, name);
}

int CZelParser::BuildSymbolTables() { return 0; }

int CZelParser::RegisterSymbolTable(int keyword, int member, char* (*proc)(void))
{
    return m_impl ? zel::RegisterMember(m_impl->grammar, keyword, member, proc, true) : 8;
}

int CZelParser::RegisterIdProc(int keyword, int member, char* (*proc)(void))
{
    return m_impl ? zel::RegisterMember(m_impl->grammar, keyword, member, proc, false) : 8;
}

// --- Writing

int CZelParser::WriteFile(FILE* stream, const CZelOid* node, int level, int withSiblings)
{
    if (!m_impl || !m_impl->store.Owns(node) || zel::SemOf(node) < 0)
        return 1;
    return m_impl->WriteStream(stream, node, level, withSiblings);
}

int CZelParser::WriteFile(const char* fileName, const CZelOid* node, int level, CStringList* header)
{
    if (!m_impl)
        return 1;
    return zel::GuardAllocation(m_impl->reporter, 1,
                                [&] { return m_impl->WriteSubtreeFile(fileName, node, level, header); });
}

int CZelParser::WriteFile(FILE* stream)
{
    if (!m_impl)
        return 1;
    int result = WriteFile(stream, m_impl->store.Goals().At(0), 0, 1);
    if (stream && (std::fflush(stream) != 0 || std::ferror(stream)) && result == 0) {
        m_impl->reporter.SetState(zel::kStateFile);
        result = 1;
    }
    return result;
}

int CZelParser::WriteFile(const char* fileName, const char* mode)
{
    if (!m_impl)
        return 1;
    if (!fileName || !*fileName) {
        m_impl->reporter.SetState(zel::kStateFile);
        return 1;
    }
    if (!mode) {
        Open(fileName, mode);  // refuses the call and reports it
        return 1;
    }
    return zel::GuardAllocation(m_impl->reporter, 1, [&] { return m_impl->ReplaceOutputFile(fileName, mode, false); });
}

int CZelParser::Save()
{
    if (!m_impl)
        return 1;
    if (m_impl->outputName.IsEmpty()) {
        m_impl->reporter.SetState(zel::kStateFile);
        return 1;
    }
    return zel::GuardAllocation(m_impl->reporter, 1,
                                [&] { return m_impl->ReplaceOutputFile(m_impl->outputName, "w", true); });
}

int CZelParser::WriteList(const CZelOid* node, int level, CStringList* list)
{
    if (!m_impl || !list || (node && !m_impl->store.Owns(node)))
        return 1;
    return zel::GuardAllocation(m_impl->reporter, 1, [&] { return m_impl->TreeWriter().WriteList(node, level, list); });
}

void CZelParser::DumpFile(const char* fileName, int, CStringList* header)
{
    if (!m_impl)
        return;
    if (!zel::GuardAllocation(m_impl->reporter, false, [&] {
            m_impl->WriteDump(fileName, header);
            return true;
        }))
        m_impl->reporter.SetState(zel::kStateDump);
}

// --- Diagnostics

void CZelParser::ReportError(zelErrCode code, int arg)
{
    if (m_impl)
        m_impl->reporter.Report(code, arg);
}

zelReportS CZelParser::GetReport() const { return m_impl ? m_impl->reporter.Shown() : zelReportS{0, 0, 0, 0}; }

void CZelParser::PrintObj(const CZelOid* node)
{
    // Another parser's node is read through that parser's grammar, not this one's.
    if (m_impl && m_impl->store.Owns(node))
        zel::PrintNode(node, m_impl->grammar.Has());
}

void CZelParser::PrintStats()
{
    if (!m_impl)
        return;
    zel::PrintStatistics(*this, m_impl->lexer.LineNo(), m_impl->lexer.TokenCount(), m_impl->stack.High(),
                         m_impl->store.StringBytes(), m_impl->store.SymbolCount());
}

const char* CZelParser::SemtypeToStr(int flags) { return zel::FlagsText(flags); }

const char* CZelParser::KwtypeToStr(int type) { return zel::KeywordTypeName(type); }

const char* CZelParser::GetKeyword(int k) const { return m_impl ? m_impl->grammar.KeywordName(k) : ""; }

// --- Switches

void CZelParser::SetStatistics(int on)
{
    if (m_impl)
        m_impl->store.SetStatistics(on != 0);
}

void CZelParser::SetSymbolHashing(int on)
{
    if (m_impl)
        m_impl->symbolHashing = on != 0;
}

void CZelParser::SetTraceLevel(int level)
{
    if (m_impl)
        m_impl->trace = level;
}

void CZelParser::SetStackGrowth(int on)
{
    if (m_impl)
        m_impl->stack.SetGrowth(on != 0);
}

int CZelParser::SetKeepComments(int on)
{
    if (!m_impl)
        return 0;
    m_impl->keepComments = on != 0;
    zel::CommentTable& comments = m_impl->store.Comments();
    return static_cast<int>(on ? comments.Count() : comments.Clear());
}

void CZelParser::SetRecovery(int on)
{
    if (!m_impl)
        return;
    m_impl->recovery = on != 0;
}
