// Written text reads back as the same tree: random valid inputs, both engines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <random>
#include <string>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

// Random valid input texts from a fixed seed.
struct Gen {
    std::mt19937 rng{20240521};
    std::string text;

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    // Appends a word after a random gap; keywords and literals get random letter case.
    void Word(std::string w, bool anyCase = false)
    {
        static const char* const gaps[] = {" ", "\n", "  ", "\t", " ;; comment\n "};
        for (char& c : w)
            if (anyCase)
                c = static_cast<char>(Pick(2) ? std::toupper(c) : std::tolower(c));
        text += gaps[Pick(5)] + w;
    }
    template <class F> void Form(const char* keyword, F content)
    {
        Word(std::string("(") + keyword, true);
        content();
        Word(")");
    }
    template <class F> void Some(int most, F item)
    {
        for (int n = Pick(most + 1); n > 0; --n)
            item();
    }
    // An identifier ends in a digit, so that it never spells a keyword.
    void Ident()
    {
        static const char chars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_0123456789";
        std::string s(1, chars[Pick(52)]);
        Some(12, [&] { s += chars[Pick(63)]; });
        Word(s + chars[53 + Pick(10)]);
    }
    void Int() { Word(std::to_string(Pick(200001) - 100000)); }
    void Real()
    {
        std::string s = std::to_string(Pick(2000000) - 1000000) + ".";
        Some(6, [&] { s += static_cast<char>('0' + Pick(10)); });
        Word(s);
    }
    void Str()
    {
        std::string s;
        Some(30, [&] { s += static_cast<char>(' ' + Pick(95)); });
        std::replace(s.begin(), s.end(), '"', '\'');
        Word("\"" + s + "\"");
    }
    void Netlist()
    {
        static const char* const directions[] = {"input", "output", "inout"};
        if (Pick(4) == 0)
            return Form("library", [&] { Some(4, [&] { Str(); }); });
        Form("design", [&] {
            Ident();
            if (Pick(2))
                Form("version", [&] { Int(), Int(), Int(); });
            Some(3, [&] {
                Form("cell", [&] {
                    Ident();
                    Some(3, [&] {
                        if (Pick(2))
                            return Form("port", [&] {
                                Ident();
                                Word(directions[Pick(3)], true);
                                Some(1, [&] { Int(); });
                            });
                        Form("net", [&] {
                            Ident();
                            Some(1, [&] { Str(); });
                            Some(3, [&] { Real(); });
                        });
                    });
                });
            });
        });
    }
    void Nest(int depth)
    {
        Form("nest", [&] { Some(depth < 6 ? 2 : 0, [&] { Nest(depth + 1); }); });
    }
    void Edge()
    {
        const int kind = Pick(3);
        if (kind == 0)
            return Nest(0);
        Form(kind == 1 ? "optint" : "ints", [&] { Some(kind == 1 ? 1 : 5, [&] { Int(); }); });
    }
};

// Writes every goal: through the list writer, or with Save over the file it was read from.
std::string Written(CZelParser& p, bool list)
{
    if (!list) {
        EXPECT_EQ(0, p.Save());
        return ReadFile(static_cast<const char*>(p.GetOfname()));
    }
    std::string out;
    for (int i = 0; i < p.GetGoalCount(); ++i) {
        CStringList strings;
        EXPECT_EQ(0, p.WriteList(p.GetGoalAt(i), 0, &strings));
        for (POSITION pos = strings.GetHeadPosition(); pos;)
            out += static_cast<const char*>(strings.GetNext(pos));
    }
    return out;
}

void CheckRoundTrip(zelParserS* grammar, const std::string& input, int engine, bool list)
{
    CZelParser first(grammar), second(grammar);
    const std::string file = TempFile(input);
    ASSERT_EQ(0, first.Parse(file.c_str(), engine)) << input;
    const std::string text = Written(first, list);
    const std::string again = TempFile(text);
    ASSERT_EQ(0, second.Parse(again.c_str(), engine)) << text;
    EXPECT_EQ(text, Written(second, list));
    EXPECT_EQ(Shapes(first), Shapes(second)) << text;
    std::remove(file.c_str());
    std::remove(again.c_str());
}

void RunCases(Grammar g, int cases, void (Gen::*goal)())
{
    Gen gen;
    for (int i = 0; i < cases && !testing::Test::HasFatalFailure(); ++i) {
        gen.text.clear();
        for (int n = 1 + gen.Pick(3); n > 0; --n)
            (gen.*goal)();
        for (int engine = 0; engine < 2; ++engine)
            CheckRoundTrip(g.get(), gen.text, engine, (i + engine) % 2 == 0);
    }
}

}  // namespace

TEST(Output_RoundTrip, RandomNetlistsReadBackUnchanged) { RunCases(NetlistGrammar(), 200, &Gen::Netlist); }

TEST(Output_RoundTrip, RandomEdgeFormsReadBackUnchanged) { RunCases(EdgeGrammar(), 100, &Gen::Edge); }
