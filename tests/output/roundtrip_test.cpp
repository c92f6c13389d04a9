// Written text reads back as the same tree: random valid inputs, both engines.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <random>
#include <string>

#include "support/test_grammars.h"

using namespace zeltest;

static const std::string kWordChars = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_0123456789";
static const char* const kDirections[] = {"input", "output", "inout"};
// Every printable character but the double quote, which a string cannot hold.
static const std::string kStringChars = kWordChars + " !#$%&'()*+,-./:;<=>?@[\\]^`{|}~";

// Random valid input texts from a fixed seed.
struct Gen {
    std::mt19937 rng{20240521};
    std::string text;

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    std::string Chars(int least, int most, const std::string& set)
    {
        std::string s;
        for (int n = least + Pick(most - least + 1); n > 0; --n)
            s += set[Pick(static_cast<int>(set.size()))];
        return s;
    }
    // Appends a word after a random gap; keywords and literals get random letter case.
    void Word(std::string w, bool anyCase = false)
    {
        static const char* const gaps[] = {" ", "\n", "  ", "\t", " ;; comment\n "};
        for (char& c : w)
            c = static_cast<char>(anyCase && Pick(2) ? std::toupper(c) : c);
        text += gaps[Pick(5)] + w;
    }
    template <class F> void Form(const char* keyword, F content) { Word(std::string("(") + keyword, true), content(), Word(")"); }
    template <class F> void Some(int most, F item) { for (int n = Pick(most + 1); n > 0; --n) item(); }
    // An identifier ends in a digit, so that it never spells a keyword.
    void Ident() { Word(Chars(1, 1, kWordChars.substr(0, 52)) + Chars(0, 12, kWordChars) + Chars(1, 1, "0123456789")); }
    void Int() { Word(std::to_string(Pick(200001) - 100000)); }
    void Real() { Word(std::to_string(Pick(2000001) - 1000000) + "." + Chars(0, 6, "0123456789")); }
    void Str() { Word("\"" + Chars(0, 30, kStringChars) + "\""); }
    void Port() { Form("port", [&] { Ident(), Word(kDirections[Pick(3)], true), Some(1, [&] { Int(); }); }); }
    void Net() { Form("net", [&] { Ident(), Some(1, [&] { Str(); }), Some(3, [&] { Real(); }); }); }
    void Cell() { Form("cell", [&] { Ident(), Some(3, [&] { Pick(2) ? Port() : Net(); }); }); }
    void Netlist()
    {
        if (Pick(4) == 0)
            return Form("library", [&] { Some(4, [&] { Str(); }); });
        Form("design", [&] {
            Ident(), Some(1, [&] { Form("version", [&] { Int(), Int(), Int(); }); }), Some(3, [&] { Cell(); });
        });
    }
    void Nest(int depth) { Form("nest", [&] { Some(depth < 6 ? 2 : 0, [&] { Nest(depth + 1); }); }); }
    void Edge()
    {
        if (const int kind = Pick(3))
            return Form(kind == 1 ? "optint" : "ints", [&] { Some(kind == 1 ? 1 : 5, [&] { Int(); }); });
        Nest(0);
    }
};

// Each case: one to three goals, read under both engines and saved over the file they were
// read from; the saved text reads back as the same tree and saves as the same text.
static void RunCases(Grammar g, int cases, void (Gen::*goal)())
{
    Gen gen;
    for (int i = 0; i < cases && !testing::Test::HasFatalFailure(); ++i) {
        gen.text.clear();
        for (int n = 1 + gen.Pick(3); n > 0; --n)
            (gen.*goal)();
        for (int engine = 0; engine < 2; ++engine) {
            CZelParser first(g.get()), second(g.get());
            const std::string file = TempFile(gen.text);
            ASSERT_EQ(0, first.Parse(file.c_str(), engine)) << gen.text;
            EXPECT_EQ(0, first.Save());
            const std::string text = ReadFile(file);
            ASSERT_EQ(0, second.Parse(file.c_str(), engine)) << text;
            EXPECT_EQ(0, second.Save());
            EXPECT_EQ(text, ReadFile(file));
            EXPECT_EQ(Shapes(first), Shapes(second)) << text;
            std::remove(file.c_str());
        }
    }
}

TEST(Output_RoundTrip, RandomNetlistsReadBackUnchanged) { RunCases(NetlistGrammar(), 200, &Gen::Netlist); }

TEST(Output_RoundTrip, RandomEdgeFormsReadBackUnchanged) { RunCases(EdgeGrammar(), 100, &Gen::Edge); }
