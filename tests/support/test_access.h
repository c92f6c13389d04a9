// Test-only access to the parser's internal steps (the one friend of CZelParser).
#ifndef ZEL_TESTS_TEST_ACCESS_H
#define ZEL_TESTS_TEST_ACCESS_H

#include <string>

#include "parse/stack.h"
#include "zel/zel.h"

class CZelTestAccess {
public:
    // Tokenizer
    static int Gettok(CZelParser& p) { return p.Gettok(); }
    static void ConvertToktyp(CZelParser& p) { p.ConvertToktyp(); }
    static void SetLineText(CZelParser& p, const char* text) { p.SetLineText(text); }
    static void SetFromText(CZelParser& p, bool on) { p.m_fromText = on; }
    static int TokType(const CZelParser& p) { return p.m_tokType; }
    static void SetTokType(CZelParser& p, int type) { p.m_tokType = type; }
    static std::string Token(const CZelParser& p) { return p.m_tok; }
    static void SetToken(CZelParser& p, const char* text) { p.SetTokenText(text); }
    static int Depth(const CZelParser& p) { return p.m_depth; }
    static int LineNo(const CZelParser& p) { return p.m_lineNo; }
    static int TokenCount(const CZelParser& p) { return p.m_tokenCount; }
    static void SetLineNo(CZelParser& p, int n) { p.m_lineNo = n; }
    static void SetTokenCount(CZelParser& p, int n) { p.m_tokenCount = n; }
    static void SetDepth(CZelParser& p, int n) { p.m_depth = n; }
    static void SetTextLimit(CZelParser& p, size_t n) { p.m_textLimit = n; }
    static void SetErrorCount(CZelParser& p, int n) { p.m_errors = n; }
    static int LoadKeywords(CZelParser& p) { return p.LoadKeywords(); }

    // Grammar lookups
    static const char* SemanticKeyword(CZelParser& p, int i) { return p.GetSemanticKeyword(i); }
    static int KeywordSemanticId(CZelParser& p, int k) { return p.GetKeywordSemanticId(k); }
    static int SemanticHead(CZelParser& p, int i) { return p.GetSemanticHead(i); }
    static int GroupHead(CZelParser& p, int i) { return p.GetGroupHead(i); }
    static bool HasGrammar(const CZelParser& p) { return p.HasGrammar(); }
    static bool HasKeyword(const CZelParser& p, const char* key)
    {
        void* value = nullptr;
        return p.m_keywords.Lookup(key, value);
    }

    // Parse stack and grammar searches
    static int Push(CZelParser& p, int sem) { return p.PushStack(sem, nullptr, 0); }
    static int Pop(CZelParser& p) { return p.PopStack(); }
    static int Top(const CZelParser& p) { return p.m_top; }
    static int StackHigh(const CZelParser& p) { return p.m_stackHigh; }
    static int StackSem(const CZelParser& p, int i) { return p.m_stack[i].sem; }
    static bool HasStack(const CZelParser& p) { return p.m_stack != nullptr; }
    static int ErrorCount(const CZelParser& p) { return p.m_errors; }
    static int ReportsOff(const CZelParser& p) { return p.m_reportsOff; }
    static int BuildStack(CZelParser& p, int target) { return p.BuildStack(target); }
    static int VerifySemantic(CZelParser& p) { return p.VerifySemantic(); }

    // Object store
    static CZelOid* AddObj(CZelParser& p, int sem) { return p.AddObj(sem); }
    static int ReleasedCount(const CZelParser& p) { return static_cast<int>(p.m_released.size()); }
    static int StringBytes(const CZelParser& p) { return p.m_stringBytes; }
    static void SetStringBytes(CZelParser& p, int n) { p.m_stringBytes = n; }
};

#endif
