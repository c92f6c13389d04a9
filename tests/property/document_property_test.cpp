// Over generated unambiguous grammars, both engines under the plain and the extended rules
// read every generated document without a message as the tree it was written for, and
// refuse every mutation of it. ZEL_PROPERTY_SEED=n runs grammar n alone.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/document_generator.h"
#include "support/generate.h"
#include "support/test_grammars.h"

using namespace zeltest;

TEST(Property_Documents, ValidDocumentsReadAsIntendedAndMutationsAreRefused)
{
    const std::string file = TempFile("");
    const char* only = std::getenv("ZEL_PROPERTY_SEED");
    const uint32_t first = only ? static_cast<uint32_t>(std::strtoul(only, nullptr, 10)) : 1;
    int valid = 0, refused = 0, failures = 0;
    for (uint32_t seed = first; seed < first + (only ? 1 : 200) && failures < 8; ++seed) {
        Rng s(seed);
        const std::string grammarText = GenerateUnambiguousGrammar(s);
        CZelGrammar grammar;
        if (grammar.Compile(grammarText.c_str()) != 0) {
            ++failures;
            ADD_FAILURE() << "seed " << seed << ": " << grammar.GetErrors().GetHead() << "\n" << grammarText;
            continue;
        }
        for (int d = 0; d < 3; ++d) {
            const GeneratedDocument document = GenerateValidDocument(*grammar.GetDescriptor(), s);
            for (int setting = 0; setting < 4 && !document.text.empty(); ++setting) {
                const int engine = setting & 1, extended = setting >> 1;
                const std::string failure = CheckDocument(grammar.GetDescriptor(), document, extended, engine, file);
                ++valid;
                refused += static_cast<int>(document.refused.size());
                if (!failure.empty()) {
                    ++failures;
                    ADD_FAILURE() << "seed " << seed << (engine ? ", iterative" : ", recursive")
                                  << (extended ? ", extended" : ", plain") << "\n-- grammar:\n" << grammarText << failure;
                }
            }
        }
    }
    if (!only) {
        EXPECT_GE(valid, 1500);
        EXPECT_GE(refused, 1500);
    }
    std::printf("%d valid parses, %d refused mutations\n", valid, refused);
}
