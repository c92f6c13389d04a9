// The state behind the front: construction, files (Open, Close), the per-parse resets and
// the named-file writes.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/allocation_guard.h"
#include "core/parser_impl.h"
#include "diag/messages.h"
#include "output/file_replace.h"
#include "zel/parser.h"

namespace zel {

ParserImpl::ParserImpl(CZelParser& front_, const zelParserS* descriptor, int maxGoals, int stackSize, char escapeChar,
                       int extendedSyntax, int lexicalOptions)
    : front(front_),
      reporter(front_),
      grammar(descriptor),
      lexer(reporter, grammar.Names(), escapeChar, extendedSyntax != 0, lexicalOptions),
      store(front_, reporter, maxGoals),
      engines(grammar, lexer, store, reporter, stackSize),
      stack(engines.Stack())
{
    reporter.Watch(grammar, lexer, stack, inputName);
    if (!stack.Allocate())
        std::printf("%s", kStackAllocationMessage);
}

ParserImpl::~ParserImpl()
{
    Close();
    store.DeleteAll();
    store.DeleteReleased();
}

int ParserImpl::Open(const char* name, const char* mode)
{
    const int opened = GuardAllocation(reporter, -1, [&] { return OpenFile(name, mode); });
    if (opened >= 0)
        return opened;
    Close();
    return 0;
}

int ParserImpl::OpenFile(const char* name, const char* mode)
{
    // The name may be one of this parser's own file names, which Close clears.
    CString fileName(name);
    Close();
    Reinit();
    if (!grammar.Use(reporter)) {
        // Malformed tables have been reported as such; a parser without tables cannot open.
        if (reporter.State() != kStateGrammar)
            reporter.Report(zelERR_OPEN_FILE, 0, fileName);
        return 0;
    }
    if (!name || !mode) {
        reporter.Report(zelERR_OPEN_FILE, 0, fileName);
        return 0;
    }

    bool input = false;
    bool output = false;
    const bool readWrite = std::strcmp(mode, "rw") == 0;
    if (readWrite || (mode[0] && mode[1] == '+')) {
        input = output = true;
    } else if (mode[0] == 'r') {
        input = true;
    } else {
        output = true;
    }

    FILE* stream = std::fopen(fileName, readWrite ? "r+" : mode);
    if (!stream && readWrite) {
        // A missing file is created. A file that exists but cannot be opened for update is
        // read only, when it can be read: the output file name is kept, so that a later
        // Save fails in the writer's own checks. A file that cannot be read either is left
        // alone; it is never truncated.
        if (errno == ENOENT) {
            stream = std::fopen(fileName, "w+");
        } else if ((stream = std::fopen(fileName, "r"))) {
            outputName = fileName;
            output = false;
        }
    }
    if (!stream) {
        reporter.Report(zelERR_OPEN_FILE, 0, fileName);
        return 0;
    }
    // The streams are kept before the names are copied, so that Close finds them.
    if (input)
        lexer.SetInput(stream);
    if (output)
        out = stream;
    if (input)
        inputName = fileName;
    if (output)
        outputName = fileName;
    grammar.LoadKeywords();
    return 1;
}

int ParserImpl::Close()
{
    FILE* in = lexer.Input();
    if (in)
        std::fclose(in);
    if (out && out != in)
        std::fclose(out);
    lexer.SetInput(nullptr);
    out = nullptr;
    inputName = "";
    outputName = "";
    grammar.ClearKeywords();
    return 1;
}

void ParserImpl::CloseInput()
{
    FILE* in = lexer.Input();
    if (!in)
        return;
    // The output side of an "rw" or "+" open is the same stream: it goes too, while the
    // output file name stays for Save.
    if (out == in)
        out = nullptr;
    std::fclose(in);
    lexer.SetInput(nullptr);
}

void ParserImpl::Reinit()
{
    lexer.Reset();
    reporter.Reset();
    stack.Clear();
}

void ParserImpl::FullInit()
{
    engines.SetCurrent(nullptr);
    reporter.SetErrors(0);
    stack.Clear();
    engines.SetNeedToken(true);
    stack.ResetHigh();
    store.ResetCounts();
    store.DeleteAll();
    store.DeleteReleased();
    Reinit();
}

// The tree writer for a live node of this parser. A failed write is 1 with error state 4;
// a null stream is 2.
int ParserImpl::WriteStream(FILE* stream, const CZelOid* node, int level, int withSiblings)
{
    if (!stream) {
        reporter.SetState(kStateFile);
        return 2;
    }
    reporter.SetState(kStateNone);
    const int result = GuardAllocation(reporter, 1, [&] { return TreeWriter().WriteTree(stream, node, level, withSiblings); });
    if (result != 0)
        reporter.SetState(kStateFile);
    return result;
}

int ParserImpl::WriteSubtreeFile(const char* fileName, const CZelOid* node, int level, CStringList* header)
{
    if (node && !store.Owns(node))
        return 1;
    if (fileName && *fileName)
        outputName = fileName;
    if (out) {
        // A stream opened for reading and writing is the input stream as well.
        if (lexer.Input() == out)
            lexer.SetInput(nullptr);
        std::fclose(out);
        out = nullptr;
    }
    FileReplacement file;
    if (!file.Begin(outputName, false)) {
        reporter.SetState(kStateFile);
        return 1;
    }
    Writer::WriteHeader(file.Stream(), header);
    const int result = front.WriteFile(file.Stream(), node, level, 1);
    if (result != 0)
        return result;
    if (!file.Commit()) {
        reporter.SetState(kStateFile);
        return 1;
    }
    return 0;
}

// Writes the first goal, or every goal, to the named file through a replacement, after
// the resets and with the names that Open gives for the mode. A mode that opens for
// reading only goes through Open and leaves no output stream, as before.
int ParserImpl::ReplaceOutputFile(const char* name, const char* mode, bool everyGoal)
{
    const CString fileName(name);  // name may be one of the parser's own names
    const bool readWrite = std::strcmp(mode, "rw") == 0;
    const bool both = readWrite || (mode[0] && mode[1] == '+');
    if (!both && mode[0] == 'r')
        return Open(fileName, mode) ? front.WriteFile(out) : 1;
    Close();
    Reinit();
    if (!grammar.Has()) {
        reporter.Report(zelERR_OPEN_FILE, 0, fileName);
        return 1;
    }
    grammar.LoadKeywords();
    outputName = fileName;
    if (both)
        inputName = fileName;
    FileReplacement file;
    if (!file.Begin(fileName, mode[0] == 'a')) {
        reporter.Report(zelERR_OPEN_FILE, 0, fileName);
        reporter.SetState(kStateFile);
        return 1;
    }
    const GoalTable& goals = store.Goals();
    int result = 0;
    if (!everyGoal || goals.Count() == 0) {
        result = front.WriteFile(file.Stream(), goals.At(0), 0, 1);
    } else {
        for (int i = 0; i < goals.Count() && result == 0; ++i)
            result = front.WriteFile(file.Stream(), goals.At(i), 0, 1);
    }
    if (result != 0)
        return 1;
    if (!file.Commit()) {
        reporter.SetState(kStateFile);
        return 1;
    }
    return 0;
}

void ParserImpl::WriteDump(const char* fileName, CStringList* header)
{
    reporter.SetState(kStateNone);
    trace = 1;
    const CString name(fileName ? fileName : static_cast<const char*>(outputName));
    if (name.IsEmpty()) {
        WriteNoDumpName(front);
        reporter.SetState(kStateDump);
        return;
    }
    FileReplacement file;
    if (!file.Begin(name, false)) {
        front.WriteMsg(kDumpOpenMessage, static_cast<const char*>(name));
        reporter.SetState(kStateDump);
        return;
    }
    Writer::WriteHeader(file.Stream(), header);
    for (int i = 0; i < store.Goals().Count(); ++i)
        front.WriteFile(file.Stream(), store.Goals().At(i), 0, 1);
    std::fputc('\n', file.Stream());
    if (!file.Commit()) {
        front.WriteMsg(kDumpWriteMessage, static_cast<const char*>(name));
        reporter.SetState(kStateDump);
    }
}

}  // namespace zel
