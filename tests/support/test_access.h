// Test-only access to the parser's components.
#ifndef ZEL_TESTS_TEST_ACCESS_H
#define ZEL_TESTS_TEST_ACCESS_H

#include <cstring>
#include <string>

#include "core/parser_access.h"
#include "parse/grammar_search.h"
#include "zel/zel.h"

class CZelTestAccess {
    static zel::ParserImpl& I(const CZelParser& p) { return zel::ParserAccess::Of(p); }

public:
    // Tokenizer
    static int Gettok(CZelParser& p) { return I(p).lexer.Gettok(); }
    static void ConvertToktyp(CZelParser& p) { I(p).lexer.ConvertToktyp(); }
    static void SetLineText(CZelParser& p, const char* text) { I(p).lexer.SetText(text); }
    static void SetFromText(CZelParser& p, bool on) { I(p).lexer.SetTextOnly(on); }
    static int TokType(const CZelParser& p) { return I(p).lexer.TokenType(); }
    static void SetTokType(CZelParser& p, int type) { I(p).lexer.SetTokenType(type); }
    static std::string Token(const CZelParser& p) { return I(p).lexer.TokenText(); }
    static void SetToken(CZelParser& p, const char* text) { I(p).lexer.SetToken(text); }
    static int Depth(const CZelParser& p) { return I(p).lexer.Depth(); }
    static int LineNo(const CZelParser& p) { return I(p).lexer.LineNo(); }
    static int TokenCount(const CZelParser& p) { return I(p).lexer.TokenCount(); }
    static void SetDepth(CZelParser& p, int n) { I(p).lexer.SetDepth(n); }
    static void SetLineNo(CZelParser& p, int n) { I(p).lexer.SetCounters(n, I(p).lexer.TokenCount()); }
    static void SetTokenCount(CZelParser& p, int n) { I(p).lexer.SetCounters(I(p).lexer.LineNo(), n); }
    static void SetTextLimit(CZelParser& p, size_t n) { I(p).lexer.SetTextLimit(n); }
    static void SetErrorCount(CZelParser& p, int n) { I(p).reporter.SetErrors(n); }
    static int LoadKeywords(CZelParser& p) { I(p).grammar.LoadKeywords(); return 1; }

    // Grammar lookups
    static const char* SemanticKeyword(CZelParser& p, int i) { return I(p).grammar.ElementName(i); }
    static int KeywordSemanticId(CZelParser& p, int k) { return I(p).grammar.KeywordHead(k); }
    static int SemanticHead(CZelParser& p, int i) { return I(p).grammar.ElementHead(i); }
    static int GroupHead(CZelParser& p, int i) { return I(p).grammar.GroupHead(i); }
    static bool HasGrammar(const CZelParser& p) { return I(p).grammar.Has(); }
    static bool HasKeyword(const CZelParser& p, const char* key) { return I(p).grammar.IsKeywordKey(key); }

    // Parse stack and grammar searches
    static int Push(CZelParser& p, int sem) { return I(p).stack.Push(sem, nullptr, 0); }
    static int Pop(CZelParser& p) { return I(p).stack.Pop(); }
    static int Top(const CZelParser& p) { return I(p).stack.TopIndex(); }
    static int StackHigh(const CZelParser& p) { return I(p).stack.High(); }
    static int StackSem(const CZelParser& p, int i) { return I(p).stack.At(i).sem; }
    static bool HasStack(const CZelParser& p) { return I(p).stack.Allocated(); }
    static int ErrorCount(const CZelParser& p) { return I(p).reporter.Errors(); }
    static int ReportsOff(const CZelParser& p) { return I(p).reporter.Silenced() ? 1 : 0; }
    static int BuildStack(CZelParser& p, int target) { return zel::GrammarSearch(I(p).grammar, I(p).stack).Pass(target); }
    static int VerifySemantic(CZelParser& p) { return zel::GrammarSearch(I(p).grammar, I(p).stack).Find(I(p).lexer.Current()); }

    // Object store
    static CZelOid* AddObj(CZelParser& p, int sem) { return I(p).engines.MakeNode(sem); }
    static int ReleasedCount(const CZelParser& p) { return I(p).store.ReleasedCount(); }
    static int StringBytes(const CZelParser& p) { return I(p).store.StringBytes(); }
    static void SetStringBytes(CZelParser& p, int n) { I(p).store.SetStringBytes(n); }
};

#endif
