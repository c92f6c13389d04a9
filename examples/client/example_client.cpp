// example_client: compiles the netlist grammar at run time, reads a netlist, lists its
// cells and ports, edits the tree and writes the result to a new file.
//
//   zel_example_client OUTPUT [GRAMMAR [INPUT]]
//
// GRAMMAR and INPUT default to examples/netlist/netlist.zelg and good.net. OUTPUT must
// name another file than INPUT: the sample is never written.
#include <cstdio>
#include <filesystem>
#include <string>

#include <zel/zel.h>

#ifndef ZEL_EXAMPLE_GRAMMAR
#define ZEL_EXAMPLE_GRAMMAR "examples/netlist/netlist.zelg"
#endif
#ifndef ZEL_EXAMPLE_INPUT
#define ZEL_EXAMPLE_INPUT "examples/netlist/good.net"
#endif

namespace {

// A parser that shows each report as "FILE:LINE: text" on standard error.
class NetlistParser : public CZelParser {
public:
    NetlistParser(zelParserS* grammar, const char* file) : CZelParser(grammar), m_file(file) {}
    void PrintError(zelSevCode severity, int line, const char* text) override
    {
        const char* kind = severity == zelSEV_NOTE ? "note" : severity == zelSEV_WARNING ? "warning" : "error";
        std::fprintf(stderr, "%s:%d: %s: %s%s", m_file, line, kind, text ? text : "",
                     text && *text && text[std::char_traits<char>::length(text) - 1] == '\n' ? "" : "\n");
    }

private:
    const char* m_file;
};

// The keyword ids the program works with, looked up by name once.
struct Keywords {
    int design, cell, port, net, width, label;
    explicit Keywords(const CZelGrammar& g)
        : design(g.GetKeywordId("design")), cell(g.GetKeywordId("cell")), port(g.GetKeywordId("port")),
          net(g.GetKeywordId("net")), width(g.GetKeywordId("width")), label(g.GetKeywordId("label"))
    {
    }
    bool Complete() const { return design > 0 && cell > 0 && port > 0 && net > 0 && width > 0 && label > 0; }
};

// Prints every cell with its ports: name, direction and width.
void ListCells(const CZelOid* design, const Keywords& kw)
{
    std::printf("design %s\n", design->GetFirstObj()->GetIdent());
    for (const CZelOid* cell = design->FindObj(kw.cell); cell; cell = cell->GetNextInst()) {
        std::printf("  cell %s\n", cell->GetFirstObj()->GetIdent());
        for (const CZelOid* port = cell->FindObj(kw.port); port; port = port->GetNextInst()) {
            const CZelOid* name = port->GetFirstObj();
            const CZelOid* direction = name->GetNextObj();
            const CZelOid* width = port->FindObj(kw.width);
            std::printf("    port %-10s %-6s width %d\n", name->GetIdent(), direction ? direction->GetKeyword() : "?",
                        width ? width->GetIntval() : 1);
        }
    }
}

// Adds a cell built in three ways, widens a port and relabels a net. Returns false when
// the grammar refused an edit.
bool Edit(NetlistParser& parser, const CZelOid* design, const Keywords& kw)
{
    // A new cell and its first port as bare forms, then the cell's name in front of the
    // port, then the port's content as text.
    const CZelOid* adder = design->AppForm(kw.cell);
    const CZelOid* first = adder ? adder->AppForm(kw.port) : nullptr;
    if (!first || !first->InsIdent("adder8") || !parser.AddObject(first, "a INPUT 8"))
        return false;
    // More content after the last child of the new cell, written as in a file.
    if (!parser.AddObject(adder, "(port b INPUT 8) (port s OUTPUT 8) (net carry \"carry chain\" 0.5 0.5)"))
        return false;

    // The counter's output grows to eight bits; its ripple net gets a new label.
    const CZelOid* counter = design->FindObj(kw.cell, "counter4");
    const CZelOid* q = counter ? counter->FindObj(kw.port, "q") : nullptr;
    const CZelOid* width = q ? q->FindObj(kw.width) : nullptr;
    if (!width || !width->ReplaceData(8))
        return false;
    const CZelOid* ripple = counter->FindObj(kw.net, "ripple");
    const CZelOid* label = ripple ? ripple->FindObj(kw.label) : nullptr;
    return label && parser.ReplaceData(label, "ripple carry, 8 bits") == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: %s OUTPUT [GRAMMAR [INPUT]]\n", argv[0]);
        return 2;
    }
    const char* output = argv[1];
    const char* grammarFile = argc > 2 ? argv[2] : ZEL_EXAMPLE_GRAMMAR;
    const char* input = argc > 3 ? argv[3] : ZEL_EXAMPLE_INPUT;
    std::error_code error;
    if (std::filesystem::equivalent(output, input, error) || std::filesystem::equivalent(output, grammarFile, error)) {
        std::fprintf(stderr, "%s: will not write over the input \"%s\"\n", argv[0], output);
        return 2;
    }

    // The grammar object owns the tables and outlives every parser built on them.
    CZelGrammar grammar;
    if (grammar.CompileFile(grammarFile) != 0) {
        for (POSITION pos = grammar.GetErrors().GetHeadPosition(); pos;)
            std::fprintf(stderr, "%s: %s\n", grammarFile, static_cast<const char*>(grammar.GetErrors().GetNext(pos)));
        return 2;
    }
    const Keywords kw(grammar);
    if (!kw.Complete()) {
        std::fprintf(stderr, "%s: not a netlist grammar\n", grammarFile);
        return 2;
    }

    NetlistParser parser(grammar.GetDescriptor(), input);
    if (parser.Parse(input, "r", -1L, 0) != 0)
        return 1;
    const CZelOid* design = parser.GetGoal(kw.design);
    if (!design) {
        std::fprintf(stderr, "%s: no design\n", input);
        return 1;
    }
    ListCells(design, kw);

    if (!Edit(parser, design, kw)) {
        std::fprintf(stderr, "%s: an edit was refused\n", argv[0]);
        return 1;
    }
    std::printf("after editing:\n");
    ListCells(design, kw);

    // The subtree writer leaves its stream open; Close flushes and closes it.
    CStringList header;
    header.AddTail("edited by zel_example_client\n");
    const int written = parser.WriteFile(output, design, 0, &header);
    parser.Close();
    if (written != 0) {
        std::fprintf(stderr, "%s: cannot write \"%s\"\n", argv[0], output);
        return 1;
    }

    // What was written reads back without an error.
    NetlistParser check(grammar.GetDescriptor(), output);
    const int errors = check.Parse(output, "r", -1L, 0);
    std::printf("wrote %s (%s)\n", output, errors == 0 ? "reads back cleanly" : "does NOT read back");
    return errors == 0 ? 0 : 1;
}
