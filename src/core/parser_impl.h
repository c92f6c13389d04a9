// The state behind a CZelParser: its components, each owning its own part, and the files.
// The front forwards each public operation to the component that owns it.
#ifndef ZEL_CORE_PARSER_IMPL_H
#define ZEL_CORE_PARSER_IMPL_H

#include <cstdio>

#include "core/grammar_tables.h"
#include "diag/reporter.h"
#include "edit/read_back.h"
#include "edit/text_edit.h"
#include "lex/lexer.h"
#include "output/writer.h"
#include "parse/comment_collector.h"
#include "parse/form_parser.h"
#include "parse/stack.h"
#include "tree/node_store.h"
#include "zel/platform.h"

class CZelParser;

namespace zel {

class ParserImpl {
public:
    ParserImpl(CZelParser& front, const zelParserS* descriptor, int maxGoals, int stackSize, char escapeChar,
               int extendedSyntax, int lexicalOptions);
    ~ParserImpl();

    // Files: Open, Close and the per-parse resets (src/core/files.cpp).
    int Open(const char* name, const char* mode);
    int Close();
    void Reinit();
    void FullInit();
    // Closes the input stream after a parse; the output side of an "rw" open goes with it.
    void CloseInput();

    // Parse entry points (src/core/parse_entry.cpp).
    int Parse(const char* name, const char* mode, long offset, int useAltEngine);
    int ParseStream(int useAltEngine);
    int ParseLines(CStringList* lines);

    // Named-file writes (src/core/files.cpp); the text comes from the writer.
    int WriteSubtreeFile(const char* fileName, const CZelOid* node, int level, CStringList* header);
    int ReplaceOutputFile(const char* name, const char* mode, bool everyGoal);
    int WriteStream(FILE* stream, const CZelOid* node, int level, int withSiblings);
    void WriteDump(const char* fileName, CStringList* header);

    // Views over the components for one operation.
    ReadBack ReadBackCheck() { return ReadBack(grammar, lexer, stack, engines, reporter); }
    TextEdit Edit() { return TextEdit(grammar, lexer, stack, engines, store, reporter); }
    Writer TreeWriter() { return Writer(grammar, lexer, store.Spellings(), store.Comments(), trace == 2); }

    CZelParser& front;
    Reporter reporter;
    GrammarTables grammar;
    Lexer lexer;
    NodeStore store;
    FormParser engines;
    ParseStack& stack;  // the engines' own
    CommentCollector comments{lexer, store.Comments(), reporter};
    bool keepComments = false;
    FILE* out = nullptr;
    CString inputName;
    CString outputName;
    int trace = 0;
    bool symbolHashing = false;
    bool recovery = false;  // SetRecovery: the parse entry points read on after a problem

private:
    // How a parse goes on after a top-level form: with the next form, at the end of the
    // input (recovery), by giving up on the form that failed, or not at all (no memory).
    enum TopLevelNext { kReadOn, kAtEnd, kGiveUp, kBroken };
    // Reads the top-level form whose first token is current (depthBefore: the form depth
    // before it); straying tells recovery that the forms since the last goal were no goals.
    TopLevelNext ReadTopLevelForm(int goal, int depthBefore, bool useAltEngine, CZelOid*& scratch, bool& straying);
    TopLevelNext RecoverTopLevel(int r, int goal, int depthBefore, bool report);
    int OpenFile(const char* name, const char* mode);
    int ReadForms(int useAltEngine);
    int ReadLines(CStringList* lines);
    bool StartTopLevelForm(int goal, CZelOid*& scratch);
    void CountInputEnd(bool somethingRead);
};

}  // namespace zel

#endif
