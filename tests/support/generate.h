// Generated grammars and documents, and the round-trip check that the property test and the round-trip fuzz target share: text written from
// a tree reads back as the same tree, and edits either change nothing or keep it so.
#ifndef ZEL_TESTS_GENERATE_H
#define ZEL_TESTS_GENERATE_H

#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "zel/zel.h"

namespace zeltest {

class RecordingParser;

// The seeded source of every random choice.
class Rng {
public:
    explicit Rng(uint32_t seed) : m_engine(seed) {}
    // Draws the given bytes first, one a number, then from an engine seeded with their count.
    Rng(const uint8_t* bytes, size_t size) : m_engine(static_cast<uint32_t>(size)), m_bytes(bytes), m_size(size) {}
    uint32_t Next() { return m_used < m_size ? m_bytes[m_used++] : m_engine(); }
    uint32_t Pick(uint32_t n) { return n ? Next() % n : 0; }
    bool Chance(uint32_t percent) { return Pick(100) < percent; }

private:
    std::mt19937 m_engine;
    const uint8_t* m_bytes = nullptr;
    size_t m_size = 0, m_used = 0;
};

// An item of an array or vector, picked at random.
template <class Items> const auto& OneOf(Rng& s, const Items& items) { return items[s.Pick(static_cast<uint32_t>(std::size(items)))]; }

// The grammar model behind a generated grammar text.
struct GenElement;
using GenSequence = std::vector<GenElement>;
struct GenElement {
    enum Kind { kValue, kLiteral, kRef, kGroup } kind = kValue;
    std::string name;                       // ident/int/real/string, the literal, or the rule named
    std::vector<GenSequence> alternatives;  // of a group
    char modifier = 0;                      // 0, '?', '*' or '+'
};
struct GenRule {
    enum Kind { kForm, kChoice, kValue } kind = kForm;
    std::string name;
    std::vector<GenSequence> alternatives;  // of a form or choice
    std::string valueType;                  // of a value
};
struct GenGrammar {
    std::vector<std::string> goals;
    std::vector<GenRule> rules;
    std::vector<std::string> literals;
    std::string text;
    const GenRule* Find(const std::string& name) const;  // any letter case
};

// Lexical settings of a parse and the engine used.
struct Settings {
    int extended = 0;
    char escape = 0;
    int engine = 0;
    int options = 0;  // zelLexOption bits
    int keepComments = 0;  // the parsers keep the comments they read and write them back
    std::string Text() const;
};

GenGrammar GenerateGrammar(uint32_t seed);
// The text of a document of one to three goal forms, with random blanks and comments
// between the tokens.
std::string GenerateDocument(const GenGrammar& g, Rng& s);
// Every node of every goal, in document order.
std::vector<const CZelOid*> Nodes(const CZelParser& parser);
// Every node of every goal in document order, with its depth; skip and its subtree are
// left out.
std::vector<std::pair<const CZelOid*, int>> Walk(const CZelParser& parser, const CZelOid* skip = nullptr);

// Writes the parser's trees (Save into dir, and WriteList), reads both texts back under
// the same settings and checks: no message, the same tree, the same text written again.
// Returns "" or a readable account of the difference.
std::string CheckRoundTrip(CZelParser& parser, zelParserS* grammar, const Settings& settings, const std::string& dir);

// One edit of a parsed tree.
struct Edit {
    enum Op { kAddObject, kAddChildObject, kInsObject, kReplaceObject, kRemObject, kReplaceData, kInsIdent,
              kInsStrtok, kInsInttok, kInsRealtok, kAppIdent, kAppStrtok, kAppInttok, kAppRealtok, kOpCount };
    int op = kAddObject;
    size_t node = 0;  // index into Nodes(), modulo their count
    std::string text;
    int number = 0;
    double real = 0;
    std::string Text() const;
};
// Applies the edit and checks it: a refused edit leaves the tree as it was; a granted one
// of the kinds that check the grammar at their place (the text edits, the Ins...
// operations) or that replace a value writes text that reads back as the edited tree,
// when the tree read back before; an append writes a value that reads back as itself and
// is then removed again; a removal takes out exactly the node. Appends and removals check
// only the grammar row, so the tree need not read back after them: readsBack says whether
// the tree read back before the edit and receives whether it does after. Returns "" or an
// account of what went wrong.
std::string ApplyEdit(RecordingParser& parser, zelParserS* grammar, const Settings& settings, const Edit& edit,
                      const std::string& dir, bool& readsBack);
Edit RandomEdit(const GenGrammar& g, const CZelParser& parser, Rng& s);

}  // namespace zeltest

#endif
