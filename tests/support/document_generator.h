// Random grammars that the greedy left-to-right parser reads unambiguously, and random
// documents of a compiled grammar, valid by construction, each with the tree it must read
// as and with mutations of it that the grammar refuses.
#ifndef ZEL_TESTS_DOCUMENT_GENERATOR_H
#define ZEL_TESTS_DOCUMENT_GENERATOR_H

#include <cstdint>
#include <string>
#include <vector>

#include "zel/zel.h"

namespace zeltest {

class Rng;

// A grammar text of forms, choices, groups, values, literals and the modifiers ?, * and +,
// in which the first tokens of the elements of one rule never meet (so alternatives and
// optional or repeated elements never compete for a token), and a composite alternative
// either starts with a required element or is optional elements and one required last.
std::string GenerateUnambiguousGrammar(Rng& s);

// One node the document must read as: depth below its goal, keyword row, type and value
// text (integers and reals as %.17g; forms and literals have none).
struct IntendedNode {
    int depth;
    int keyword;
    int type;
    std::string value;
    bool operator==(const IntendedNode& o) const
    {
        return depth == o.depth && keyword == o.keyword && type == o.type && value == o.value;
    }
};

struct GeneratedDocument {
    std::string text;                  // empty when the grammar gave no document within the depth limit
    std::vector<IntendedNode> tree;    // every node of every goal, in document order
    std::vector<std::string> refused;  // mutated texts that the grammar does not accept
};

// A document of one to three goal forms of the compiled grammar: every alternative,
// optional and repeated element is taken at random, values are fresh. The mutations drop an
// element of a form whose rule is a fixed list of single items, empty a form that needs
// content, and put into a form an unknown form or a value of a kind that its rule takes
// nowhere.
GeneratedDocument GenerateValidDocument(const zelParserS& grammar, Rng& s);

// The nodes of the parser's goals as IntendedNode records.
std::vector<IntendedNode> ParsedTree(const CZelParser& parser);
std::string TreeText(const std::vector<IntendedNode>& tree);

}  // namespace zeltest

#endif
