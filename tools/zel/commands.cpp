// The commands of the zel tool.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/type_names.h"
#include "diagnostics.h"
#include "json.h"
#include "output/file_replace.h"
#include "tool.h"

namespace zeltool {

namespace {

const char kCheckHelp[] =
    "usage: zel check -g GRAMMAR [options] FILE...\n"
    "Parses each file (- reads standard input) and prints every message as\n"
    "FILE:LINE:COLUMN: error|warning|note: text, then the source line and a caret under the\n"
    "place; after a problem it reads on at the next form, so every problem is reported; with\n"
    "several files a last line counts the errors and warnings.\n"
    "Exit status: 0 no errors, 1 a file has errors, 2 usage or I/O error.\n"
    "options:\n"
    "  -g, --grammar FILE   the grammar (zel grammar language)\n"
    "  --engine NAME        recursive (default) or iterative\n"
    "  --extended, --plain  the extended or the plain lexical rules\n"
    "  --escape C|none      C keeps a following quote inside a string; none: no escape\n"
    "  --lexical-options L  none, or a comma-separated list of quote-opens-string,\n"
    "                       escape-escapes and keep-keyword-case\n"
    "  The lexical settings default to those the grammar states (rules, escape, option).\n"
    "  --stack N            entries the parse stack starts with; it grows as needed\n"
    "                       (default 1048576)\n"
    "  --color WHEN         colour the messages: auto (default: on a terminal, unless\n"
    "                       NO_COLOR is set), always or never\n"
    "  --format FORMAT      text (default), or json: one JSON object per message and line\n"
    "                       on standard output (file, line, column, severity, code, text,\n"
    "                       followOn)\n";

const char kFmtHelp[] =
    "usage: zel fmt -g GRAMMAR [options] [-i] [--strip-comments] FILE\n"
    "Parses the file and writes its canonical text to standard output, or back into the\n"
    "file with -i. Nothing is written when the file has errors (exit status 1); -i also\n"
    "leaves a file alone when a value warning says the parse changed a value. FILE - reads\n"
    "standard input (not with -i). Comments are kept, each with the form or value next to\n"
    "it, as \";; \" comment lines.\n"
    "options: -g, --engine, --extended, --plain, --escape, --lexical-options, --stack,\n"
    "--color as for check; -i in place;\n"
    "  --strip-comments  leave the comments out (with -i a file that has comments is left\n"
    "                    alone, exit status 1)\n";

const char kTreeHelp[] =
    "usage: zel tree -g GRAMMAR [options] [--objects | --format json] FILE (- reads standard input)\n"
    "Shows the parsed tree, one node per line: keyword, type and value, indented by depth.\n"
    "--objects adds the object table of every node.\n"
    "--format json writes the tree as JSON instead: an array of the top-level forms, each\n"
    "node an object with keyword, type, line, and value or children.\n"
    "options: -g, --engine, --extended, --plain, --escape, --lexical-options, --stack,\n"
    "--color as for check.\n";

const char kGenHelp[] =
    "usage: zel gen [--prefix NAME] [--header | --with-header HEADER] [--color WHEN] GRAMMAR\n"
    "Compiles the grammar and writes C++ source with its tables to standard output:\n"
    "NAME_keywords, NAME_semantics, the descriptor NAME_grammar and an enumeration of the\n"
    "keyword ids NAME_KW_<keyword>; when the grammar states lexical settings, also the\n"
    "constants NAME_escape, NAME_extended and NAME_lexical_options. NAME defaults to the\n"
    "grammar file's base name.\n"
    "options:\n"
    "  --prefix NAME         the prefix of the generated names\n"
    "  --header              write a header instead: the enumeration and the declarations of\n"
    "                        the tables and constants, for several translation units\n"
    "  --with-header HEADER  write the source for that header: it includes \"HEADER\" in\n"
    "                        place of the enumeration\n"
    "  --color WHEN          colour the grammar's messages: auto, always or never\n"
    "Without --header or --with-header the source stands alone, as it always has.\n";

const char kParseOptions[] =
    " -g --grammar --engine --extended --plain --escape --lexical-options --stack --color ";

// Reads the options of a parsing command that takes files. Returns -1 to go on, else
// the exit code.
int Prepare(const char* command, const char* help, const char* allowed, int argc, char** argv, Options& options,
            size_t minFiles, size_t maxFiles)
{
    bool wantHelp = false;
    if (!ReadOptions(command, argc, argv, allowed, options, wantHelp))
        return kUsageOrIo;
    if (wantHelp) {
        std::fputs(help, stdout);
        return kSuccess;
    }
    if (options.files.size() < minFiles || options.files.size() > maxFiles) {
        std::fprintf(stderr, "zel %s: wrong number of files\n%s", command, help);
        return kUsageOrIo;
    }
    return -1;
}

// Writes every goal of the parser as canonical text; false when a write failed.
bool WriteCanonical(CZelParser& parser, FILE* out)
{
    bool written = true;
    for (int i = 0; i < parser.GetGoalCount(); ++i)
        written = parser.WriteFile(out, parser.GetGoalAt(i), 0, 1) == 0 && written;
    std::fputc('\n', out);
    return std::fflush(out) == 0 && written;
}

void PrintNode(const CZelOid* node, int depth)
{
    std::printf("%*s%s  %s", depth * 2, "", node->GetKeyword(), zel::KeywordTypeShortName(node->GetObjType()));
    switch (node->GetObjType()) {
    case zelKW_INTTOK:
        std::printf("  %d", node->GetIntval());
        break;
    case zelKW_REALTOK:
        std::printf("  %f", node->GetRealval());
        break;
    case zelKW_STRTOK:
        std::printf("  \"%s\"", node->GetStrval() ? node->GetStrval() : "");
        break;
    case zelKW_IDENT:
    case zelKW_WORDTOK:
        std::printf("  %s", node->GetName() ? node->GetName() : "");
        break;
    default:
        break;
    }
    std::printf("\n");
}

// Visits every node of every goal in document order, without recursion.
template <typename Visit>
void Walk(CZelParser& parser, Visit visit)
{
    for (int i = 0; i < parser.GetGoalCount(); ++i) {
        std::vector<const CZelOid*> pending{parser.GetGoalAt(i)};
        std::vector<int> depths{0};
        while (!pending.empty()) {
            const CZelOid* node = pending.back();
            const int depth = depths.back();
            pending.pop_back();
            depths.pop_back();
            if (!node)
                continue;
            visit(node, depth);
            std::vector<const CZelOid*> children;
            for (const CZelOid* c = node->GetFirstObj(); c; c = c->GetNextObj())
                children.push_back(c);
            for (auto it = children.rbegin(); it != children.rend(); ++it) {
                pending.push_back(*it);
                depths.push_back(depth + 1);
            }
        }
    }
}

// Replaces the file behind name with the canonical text; the file stays as it was when
// any step fails, and the tool says why.
int ReplaceFile(CZelParser& parser, const std::string& name)
{
    zel::FileReplacement file;
    if (file.Begin(name.c_str(), false) && WriteCanonical(parser, file.Stream()) && file.Commit())
        return kSuccess;
    const int reason = errno;  // each step keeps the reason of the call that failed
    std::fprintf(stderr, "zel: cannot write \"%s\": %s\n", name.c_str(), std::strerror(reason));
    return kUsageOrIo;
}

}  // namespace

int RunCheck(int argc, char** argv)
{
    Options options;
    const int early = Prepare("check", kCheckHelp, (kParseOptions + std::string("--format ")).c_str(), argc, argv,
                              options, 1, static_cast<size_t>(-1));
    if (early >= 0)
        return early;
    CZelGrammar grammar;
    if (!LoadGrammar(options, grammar))
        return kUsageOrIo;
    int status = kSuccess;
    for (const std::string& file : options.files) {
        ReportingParser parser(grammar.GetDescriptor(), options, file);
        const int result = ParseInput(parser, options, file);
        if (result > status)
            status = result;
    }
    if (options.files.size() > 1)
        ToolDiagnostics().Summary(options.files.size());
    return status;
}

int RunFmt(int argc, char** argv)
{
    Options options;
    const int early =
        Prepare("fmt", kFmtHelp, (kParseOptions + std::string("-i --strip-comments ")).c_str(), argc, argv, options, 1, 1);
    if (early >= 0)
        return early;
    CZelGrammar grammar;
    if (!LoadGrammar(options, grammar))
        return kUsageOrIo;
    const std::string& file = options.files[0];
    if (options.inPlace && file == "-") {
        std::fprintf(stderr, "zel fmt: -i needs a file, not standard input\n");
        return kUsageOrIo;
    }
    ReportingParser parser(grammar.GetDescriptor(), options, file);
    parser.SetKeepComments(1);
    const int result = ParseInput(parser, options, file);
    if (result != kSuccess)
        return result;
    // The comments are read in any case, so that -i knows what stripping would lose.
    const int comments = options.stripComments ? parser.SetKeepComments(0) : 0;
    if (options.inPlace && comments > 0) {
        std::fprintf(stderr, "zel fmt: \"%s\" is left as it is: --strip-comments would drop its %d comment(s)\n",
                     file.c_str(), comments);
        return kInputErrors;
    }
    if (!options.inPlace)
        return WriteCanonical(parser, stdout) ? kSuccess : kUsageOrIo;
    // A value the parse could not keep as written (each one is named by a warning) would
    // be written back changed: such a file is left as it is.
    if (parser.WarningsShown() > 0) {
        std::fprintf(stderr, "zel fmt: \"%s\" is left as it is: %d value(s) would be written back changed\n",
                     file.c_str(), parser.WarningsShown());
        return kInputErrors;
    }
    return ReplaceFile(parser, file);
}

int RunTree(int argc, char** argv)
{
    Options options;
    const int early =
        Prepare("tree", kTreeHelp, (kParseOptions + std::string("--objects --format ")).c_str(), argc, argv, options, 1, 1);
    if (early >= 0)
        return early;
    if (options.objects && options.json) {
        std::fprintf(stderr, "zel tree: --objects writes a table of text; it does not go with --format json\n");
        return kUsageOrIo;
    }
    CZelGrammar grammar;
    if (!LoadGrammar(options, grammar))
        return kUsageOrIo;
    ReportingParser parser(grammar.GetDescriptor(), options, options.files[0]);
    const int result = ParseInput(parser, options, options.files[0]);
    if (options.json) {
        WriteTreeJson(parser, stdout);
        return result;
    }
    Walk(parser, [&](const CZelOid* node, int depth) { PrintNode(node, depth); });
    if (options.objects) {
        int index = 0;
        Walk(parser, [&](const CZelOid* node, int) {
            std::fflush(stdout);
            node->Print(index == 0, index);
            ++index;
        });
    }
    return result;
}

int RunGen(int argc, char** argv)
{
    Options options;
    bool wantHelp = false;
    if (!ReadOptions("gen", argc, argv, " --prefix --header --with-header --color ", options, wantHelp))
        return kUsageOrIo;
    if (wantHelp) {
        std::fputs(kGenHelp, stdout);
        return kSuccess;
    }
    if (options.files.size() != 1) {
        std::fprintf(stderr, "zel gen: give exactly one grammar file\n%s", kGenHelp);
        return kUsageOrIo;
    }
    if (options.header && !options.withHeader.empty()) {
        std::fprintf(stderr, "zel gen: --header and --with-header write different files; give one\n");
        return kUsageOrIo;
    }
    if (options.withHeader.find_first_of("\"\n\r") != std::string::npos) {
        std::fprintf(stderr, "zel gen: --with-header takes a header name without quotes or line breaks\n");
        return kUsageOrIo;
    }
    options.grammar = options.files[0];
    CZelGrammar grammar;
    if (!LoadGrammar(options, grammar))
        return kUsageOrIo;
    std::string prefix = options.prefix;
    if (prefix.empty()) {
        const size_t slash = options.grammar.find_last_of('/');
        prefix = options.grammar.substr(slash == std::string::npos ? 0 : slash + 1);
        prefix = prefix.substr(0, prefix.find('.'));
    }
    for (char& c : prefix)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            c = '_';
    if (prefix.empty() || (prefix[0] >= '0' && prefix[0] <= '9'))
        prefix = "g" + prefix;
    const char* origin = options.grammar.c_str();
    const int written = options.header ? grammar.WriteHeader(stdout, prefix.c_str(), origin)
                        : options.withHeader.empty()
                            ? grammar.WriteSource(stdout, prefix.c_str(), origin)
                            : grammar.WriteSource(stdout, prefix.c_str(), origin, options.withHeader.c_str());
    return written == 0 ? kSuccess : kUsageOrIo;
}

}  // namespace zeltool
