// Over generated unambiguous grammars, both engines under the plain and the extended rules
// read every generated document without a message as the tree it was written for, and
// refuse every mutation of it. ZEL_PROPERTY_SEED=n runs grammar n alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#include "support/document_generator.h"
#include "support/generate.h"
#include "support/test_grammars.h"

using namespace zeltest;

TEST(Property_Documents, ValidDocumentsReadAsIntendedAndMutationsAreRefused)
{
    char dir[] = "/tmp/zeldocXXXXXX";
    ASSERT_NE(nullptr, mkdtemp(dir));
    const std::string file = std::string(dir) + "/document.zel";
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
            if (document.text.empty())
                continue;
            for (int setting = 0; setting < 4; ++setting) {
                const int engine = setting & 1, extended = setting >> 1;
                const std::string where = "seed " + std::to_string(seed) + (engine ? ", iterative" : ", recursive") +
                                          (extended ? ", extended" : ", plain") + "\n-- grammar:\n" + grammarText;
                RecordingParser parser(grammar.GetDescriptor(), 16, 1024, 0, extended);
                WriteText(file, document.text);
                const int errors = parser.Parse(file.c_str(), engine);
                const std::string expected = TreeText(document.tree), found = TreeText(ParsedTree(parser));
                ++valid;
                if (errors != 0 || !parser.reports.empty() || expected != found) {
                    ++failures;
                    ADD_FAILURE() << where << "-- document:\n" << document.text << "-- first message: "
                                  << (parser.reports.empty() ? "none" : parser.reports[0]) << "\n-- expected:\n"
                                  << expected << "-- found:\n" << found;
                }
                for (const std::string& mutated : document.refused) {
                    RecordingParser other(grammar.GetDescriptor(), 16, 1024, 0, extended);
                    WriteText(file, mutated);
                    ++refused;
                    if (other.Parse(file.c_str(), engine) == 0) {
                        ++failures;
                        ADD_FAILURE() << where << "-- valid:\n" << document.text << "-- accepted mutation:\n" << mutated;
                    }
                }
            }
        }
    }
    std::remove(file.c_str());
    rmdir(dir);
    if (!only) {
        EXPECT_GE(valid, 1500);
        EXPECT_GE(refused, 1500);
    }
    std::printf("%d valid parses, %d refused mutations\n", valid, refused);
}
