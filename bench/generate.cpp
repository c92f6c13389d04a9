// Writes a large, deterministic drawing file for the benchmarks: one drawing holding
// layers of shapes and groups, nested up to six forms deep, with identifiers, integers,
// reals, strings and literals, every line under 200 characters.
// usage: zel_bench_generate MEGABYTES OUTPUT
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

const char* const kColours[] = {"BLACK", "white", "Red", "GREEN", "blue", "light-grey"};

class Generator {
public:
    explicit Generator(FILE* out) : m_out(out), m_random(20261206) {}

    void Drawing(long long bytes)
    {
        Put("(drawing bench_panel\n (page 210.5 148 mm)");
        for (int layer = 0; m_written < bytes; ++layer) {
            Put("\n (layer layer_" + std::to_string(layer) + " " + Colour());
            for (int item = 0; item < 400 && m_written < bytes; ++item)
                (item % 5 == 4) ? Group(item) : Shape(2);
            Put(")");
        }
        Put(")\n");
    }

private:
    void Group(int item)
    {
        Put("\n  (group g" + std::to_string(item));
        for (int i = 0; i < 4; ++i)
            Shape(3);
        Put(")");
    }

    void Shape(int level)
    {
        const std::string indent(static_cast<size_t>(level), ' ');
        switch (m_random() % 5) {
        case 0:
            Put("\n" + indent + "(rect " + Real() + " " + Real() + " " + Int() + " " + Int() + Style() + ")");
            break;
        case 1:
            Put("\n" + indent + "(circle " + Real() + " " + Real() + " " + Real() + Style() + ")");
            break;
        case 2:
            Put("\n" + indent + "(text \"label " + Int() + " of the panel\" " + Real() + " " + Int() + " " + Real() +
                Style() + ")");
            break;
        case 3:
            Put("\n" + indent + "(polygon" + Point() + Point() + Point() + Point() + Style() + ")");
            break;
        default:
            Put("\n" + indent + "(line" + Point() + Point() + " dashed" + Style() + ")");
            break;
        }
    }

    std::string Point() { return " (pt " + Real() + " " + Int() + ")"; }
    std::string Style() { return m_random() % 3 ? " (style " + Colour() + " " + Real() + ")" : ""; }
    std::string Colour() { return kColours[m_random() % 6]; }
    std::string Int() { return std::to_string(m_random() % 1000); }
    std::string Real()
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", (m_random() % 100000) / 100.0);
        return text;
    }

    void Put(const std::string& text)
    {
        std::fputs(text.c_str(), m_out);
        m_written += static_cast<long long>(text.size());
    }

    FILE* m_out;
    std::mt19937 m_random;
    long long m_written = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s MEGABYTES OUTPUT\n", argv[0]);
        return 2;
    }
    FILE* out = std::fopen(argv[2], "w");
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 2;
    }
    Generator(out).Drawing(std::atoll(argv[1]) * 1000000LL);
    return std::fclose(out) == 0 ? 0 : 2;
}
