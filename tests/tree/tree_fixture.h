// A fixture for tree tests: text parsed from a file under the netlist or the editing
// grammar.
#ifndef ZEL_TESTS_TREE_FIXTURE_H
#define ZEL_TESTS_TREE_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/test_grammars.h"

namespace zeltest {

struct TreeFixture : ::testing::Test {
    // Parses text under the netlist grammar, or the editing grammar, and returns the first goal.
    const CZelOid* Load(const char* text, bool edit = false)
    {
        parser.reset(new RecordingParser((edit ? edits : nets).get()));
        EXPECT_EQ(0, ParseText(*parser, text)) << text;
        return parser->GetGoalAt(0);
    }
    Grammar nets = NetlistGrammar(), edits = EditGrammar();
    std::unique_ptr<RecordingParser> parser;
};

}  // namespace zeltest

#endif
