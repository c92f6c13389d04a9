// CZelParser: reads form text under a client grammar into trees of CZelOid nodes.
#ifndef ZEL_PARSER_H
#define ZEL_PARSER_H

#include <cstdio>

#include "zel/diag.h"
#include "zel/export.h"
#include "zel/grammar.h"
#include "zel/platform.h"

class CZelOid;
namespace zel {
class ParserImpl;
struct ParserAccess;
}

// The parser owns its streams, buffers, keyword index, parse stack and every node
// reachable from its goal table: destroying the parser, FullInit and SetGoal delete the
// goal trees, and with them every pointer to their nodes becomes invalid. Nodes taken out
// of a tree with RemObject or RemoveObjects stay valid objects, in the free state, until
// FullInit or the parser's destruction deletes them. The grammar tables stay the client's.
// A parser and its nodes are used by one thread at a time. When memory runs out while the
// parser is being built, "Error allocating from heap." goes to standard output and every
// operation fails as it documents.
class ZEL_API CZelParser {
public:
    enum { kMaxGoals = 16, kLineBufferSize = 2048, kTokenBufferSize = 512 };

    // escapeChar 0 means none; extendedSyntax nonzero selects the extended lexical rules;
    // lexicalOptions are zelLexOption bits (0: the rules as they stand).
    CZelParser(zelParserS* grammar = nullptr, int maxGoals = 4, int stackSize = 65535,
               char escapeChar = 0, int extendedSyntax = 0, int lexicalOptions = 0);
    virtual ~CZelParser();
    CZelParser(const CZelParser&) = delete;
    CZelParser& operator=(const CZelParser&) = delete;

    // Message hooks. The base WriteMsg formats and discards; PrintError writes the
    // severity prefix and the text through WriteMsg; ErrorSummary does nothing.
    virtual void WriteMsg(const char* format, ...) __attribute__((format(printf, 2, 3)));
    virtual void PrintError(zelSevCode severity, int line, const char* text);
    virtual void ErrorSummary();

    // --- Lifecycle and files
    // Returns the class of the last failure (0 none, 2, 3, 4, 5, 6 malformed grammar tables, 16, 17).
    int GetErrno() const;
    void SetIfname(const char* name);
    CString& GetIfname();
    void SetOfname(const char* name);
    CString& GetOfname();
    // Opens a file as input ("r"), output ("w", "a") or both ("rw", "r+", "w+", "a+").
    // Returns 1 on success, 0 when the file cannot be opened (reported as code 4).
    int Open(const char* name, const char* mode);
    // Closes the streams, clears both names, empties the keyword index. Returns 1.
    int Close();
    // Resets the per-parse state: buffers, counters, error count and state, stack.
    void ReinitParser();
    // Deletes every goal tree and released node and resets all but the grammar,
    // the streams, the names and the keyword index.
    void FullInit();

    // --- Parsing. Each returns the error count: 0 on success, 1 on a failure
    // before parsing starts (file not opened, no grammar, no stack, null argument).
    int Parse(const char* name, int useAltEngine);
    int Parse(const char* name, long offset, int useAltEngine);
    int Parse(const char* name, const char* mode, long offset, int useAltEngine);
    // Parses from the open input stream.
    int Parse(int useAltEngine);
    // Parses each string of the list as a piece of text holding whole forms.
    int Parse(CStringList* lines);
    // Skips tokens to the end of the current form. Returns 1 when the end was
    // found, 0 when the input ended first.
    int GotoEoform();

    // --- Goals
    // Returns the first goal and stores its keyword id through keyword, or null.
    const CZelOid* GetGoal(int* keyword) const;
    // Returns the first goal with the given keyword id, or null.
    const CZelOid* GetGoal(int keyword) const;
    // Deletes every tree, then returns a new goal for the keyword, or null.
    CZelOid* SetGoal(int keyword);
    // Returns a new goal for the keyword, or null when the keyword is no goal
    // alternative or the table is full.
    CZelOid* AddGoal(int keyword);
    // Returns the number of goal entries in use.
    int GetGoalCount() const;
    // Returns goal i, or null when i is out of range.
    const CZelOid* GetGoalAt(int i) const;

    // --- Editing from text. The text is read where the written file has it, among the
    // siblings, as the form parser reads that file; it is refused (tree unchanged) unless it
    // parses whole and the parent's children, the new ones included, read back as the same
    // keywords with either engine.
    // Parses text after parent's last child. Returns the first node made, or null (tree unchanged).
    const CZelOid* AddObject(const CZelOid* parent, const char* text);
    // AddObject with the first line taken out of lines. Returns as AddObject.
    const CZelOid* AddChildObject(const CZelOid* parent, CStringList* lines);
    // Parses the first line of lines in front of node. Returns the first new node, or null (tree unchanged).
    const CZelOid* InsObject(const CZelOid* node, CStringList* lines);
    // InsObject, then removes node unless required. Returns as InsObject.
    const CZelOid* ReplaceObject(const CZelOid* node, CStringList* lines);
    // Removes node and its subtree unless its element is required. Returns 1, or 0 when refused.
    int RemObject(const CZelOid* node);
    // Replaces the value of a value node of this parser from text. Returns 0; -1 when
    // refused, changing nothing: a node of another parser, an identifier or string text
    // that the writer cannot write back under this parser's settings (see
    // CZelOid::ReplaceData), a real text that reads as NaN; -4 when memory ran out (the
    // node keeps its old value).
    int ReplaceData(const CZelOid* node, const char* text);

    // --- Objects
    // Destroys node and its subtree as objects and takes it off the chain or the goal
    // table that holds it (also with unlink 0: no link is left to a destroyed node).
    // Returns 1 (also for null), or 0 for a node of another parser, which stays.
    int DeleteObject(const CZelOid* node, int unlink);
    // Destroys every goal tree and empties the goal table.
    void DeleteAllObjects();

    // --- Symbols
    // Enters node under name in its parent form's symbol map; does nothing for another parser's node.
    void StoreSymbol(const CZelOid* node, const char* name);
    // Returns 0; symbol maps are built as values are stored.
    int BuildSymbolTables();
    // Marks the member's row of the keyword's rule as hashed and stores proc there.
    // Returns 0, or 8 when the rule has no such member.
    int RegisterSymbolTable(int keyword, int member, char* (*proc)(void));
    // Stores proc on the member's row. Returns 0, or 8 when the rule has no such member.
    int RegisterIdProc(int keyword, int member, char* (*proc)(void));

    // --- Writing. Results: 0 written, 1 failure, 2 null stream. A node of another parser
    // is refused (1, nothing written). Identifiers are spelt so that a parser of the same
    // settings reads them back ("&" or apostrophes where needed); reals that six
    // decimals do not carry get the digits they need.
    // A named file is replaced whole, never cut short: the text goes to a new file beside
    // it, which is synced and renamed over it (a symbolic link is kept and the file it
    // points to replaced; the permission bits are kept). On any failure the file stays as
    // it was and the result is 1 with error state 4; a file the user may not write is
    // refused. After the call the file is complete on disk and no stream is left open.
    // Writes node (and its siblings at level 0) to stream. A failed write is 1, state 4.
    int WriteFile(FILE* stream, const CZelOid* node, int level, int withSiblings);
    // Replaces the named file (null or empty: the output file name, which the name
    // otherwise becomes) with the header's comment lines and the text of node.
    int WriteFile(const char* fileName, const CZelOid* node, int level, CStringList* header);
    // Writes the first goal to stream and flushes it. A failed write or flush is 1, state 4.
    int WriteFile(FILE* stream);
    // Resets as Open does and writes the first goal to the file: "a" and "a+" keep the
    // old content in front, every other writing mode replaces it; a mode that opens for
    // reading only writes nothing (2, state 4).
    int WriteFile(const char* fileName, const char* mode);
    // Writes every goal to the output file name as WriteFile with mode "w" does. Returns
    // 0, or 1 on failure.
    int Save();
    // Appends the text of node (and its siblings) to list, one string per item. Returns
    // 0, or 1 for a null list, a null or free node or a node of another parser.
    int WriteList(const CZelOid* node, int level, CStringList* list);
    // Replaces the named file with the text of every goal; failures go to WriteMsg with
    // error state 5.
    void DumpFile(const char* fileName, int unused, CStringList* header);

    // --- Diagnostics
    // Counts, caps, formats and forwards one report to PrintError.
    void ReportError(zelErrCode code, int arg);
    // The report being shown, while a message hook runs (after it, the last report shown);
    // all 0 before the first report of the parser.
    zelReportS GetReport() const;
    // Prints node's fields to standard output; nothing for null or another parser's node.
    void PrintObj(const CZelOid* node);
    void PrintStats();
    // Returns the flag names of a semType, "S_DUMMY | S_REQ ..."; the text lives
    // until the next call on this thread.
    const char* SemtypeToStr(int flags);
    // Returns the name of a zelTokTyp value 0 to 10, or "".
    const char* KwtypeToStr(int type);
    // Returns the name of keyword row k.
    const char* GetKeyword(int k) const;

    // --- Switches
    void SetStatistics(int on);
    void SetSymbolHashing(int on);
    void SetTraceLevel(int level);
    // When on, a full parse stack grows on demand instead of overflowing; off (the default), a full stack reports overflow.
    void SetStackGrowth(int on);
    // When on, a parse of a file or stream keeps the comments it reads, each with the node
    // next to it, and the writers write them back as ";; " comment lines; off (the
    // default), comments are passed over. Turning it off drops the comments kept. Returns
    // the number of comments the parser held when called.
    int SetKeepComments(int on);
    // When on, a parse reads on after a problem: the rest of the smallest form that holds
    // it is skipped up to that form's ")" and the parse goes on with the form's next sibling
    // (for a top-level form, with the next top-level form), so that one parse reports each
    // independent problem; up to 1000 counted reports are shown instead of 20. The tree
    // keeps the forms read before and after a problem, and the form that holds it with the
    // children read before it; the result is the error count, nonzero after any error.
    // Off (the default), a parse stops and reports as it always did. Edits from text are
    // not affected.
    void SetRecovery(int on);

private:
    friend struct zel::ParserAccess;  // the library's components reach the state behind the front

    zel::ParserImpl* m_impl;  // owned; null when the parser could not be built
};

#endif
