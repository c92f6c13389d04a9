// Benchmarks of the zel parser on one file: whole-process throughput (read, parse, walk,
// destroy) with each engine, the parse alone, writing the tree back, peak memory and tree
// bytes per node; the same file through sfsexp when it is built in, and a lower bound that
// only reads lines and counts tokens. Every measurement runs in a child process of its own,
// so that its peak memory is its own; the median of the runs after a warm-up is reported.
// usage: zel_bench GRAMMAR FILE [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "zel/zel.h"

#ifdef ZEL_BENCH_SFSEXP
extern "C" {
#include <sexp.h>
#include <sexp_ops.h>
}
#endif

namespace {

struct Sample {
    double seconds = 0;     // the timed part: wall clock
    double userSeconds = 0; // and the processor time in user and system mode within it
    double systemSeconds = 0;
    double peakMb = 0;      // the child's peak resident memory
    double bytesPerNode = 0;
    long long nodes = 0;
};

// Resident bytes of this process.
size_t HeapInUse()
{
    long pages = 0;
    long resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<size_t>(resident) * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

double Now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

// Times a part of a measurement: the wall clock and the processor time in user mode and
// in system mode (page faults, reading the file), which on a shared virtual machine
// varies far more than the rest.
class Stopwatch {
public:
    Stopwatch() { Start(); }
    void Start()
    {
        m_wall = Now();
        getrusage(RUSAGE_SELF, &m_usage);
    }
    void Stop(Sample& sample) const
    {
        struct rusage usage;
        getrusage(RUSAGE_SELF, &usage);
        sample.seconds = Now() - m_wall;
        sample.userSeconds = Seconds(usage.ru_utime) - Seconds(m_usage.ru_utime);
        sample.systemSeconds = Seconds(usage.ru_stime) - Seconds(m_usage.ru_stime);
    }

private:
    double m_wall = 0;
    struct rusage m_usage;
};

// Runs body in a child process and returns what it measured.
Sample InChild(const std::function<Sample()>& body)
{
    int pipes[2];
    if (pipe(pipes) != 0)
        return Sample();
    const pid_t child = fork();
    if (child == 0) {
        close(pipes[0]);
        Sample sample = body();
        struct rusage usage;
        getrusage(RUSAGE_SELF, &usage);
        sample.peakMb = usage.ru_maxrss / 1024.0;
        if (write(pipes[1], &sample, sizeof sample) != static_cast<ssize_t>(sizeof sample))
            _exit(1);
        _exit(0);
    }
    close(pipes[1]);
    Sample sample;
    if (read(pipes[0], &sample, sizeof sample) != static_cast<ssize_t>(sizeof sample))
        sample = Sample();
    close(pipes[0]);
    waitpid(child, nullptr, 0);
    return sample;
}

long long CountNodes(const CZelParser& parser)
{
    long long count = 0;
    std::vector<const CZelOid*> pending;
    for (int i = 0; i < parser.GetGoalCount(); ++i)
        pending.push_back(parser.GetGoalAt(i));
    while (!pending.empty()) {
        const CZelOid* node = pending.back();
        pending.pop_back();
        for (; node; node = node->GetNextObj()) {
            ++count;
            if (node->GetFirstObj())
                pending.push_back(node->GetFirstObj());
        }
    }
    return count;
}

struct Setup {
    std::string grammarFile;
    std::string file;
};

// Read, parse, walk and destroy, timed as a whole; also the tree's bytes per node.
Sample ZelWhole(const Setup& setup, int engine)
{
    CZelGrammar grammar;
    grammar.CompileFile(setup.grammarFile.c_str());
    Stopwatch watch;
    const size_t before = HeapInUse();
    Sample sample;
    {
        CZelParser parser(grammar.GetDescriptor(), 16, 1 << 22);
        if (parser.Parse(setup.file.c_str(), "r", -1L, engine) != 0)
            std::fprintf(stderr, "zel: the benchmark file has errors\n");
        sample.nodes = CountNodes(parser);
        sample.bytesPerNode = static_cast<double>(HeapInUse() - before) / static_cast<double>(sample.nodes);
    }
    watch.Stop(sample);
    return sample;
}

// Times the parse alone (write false) or the writing of the parsed tree (write true).
Sample ZelPart(const Setup& setup, bool write)
{
    CZelGrammar grammar;
    grammar.CompileFile(setup.grammarFile.c_str());
    CZelParser parser(grammar.GetDescriptor(), 16, 1 << 22);
    Sample sample;
    Stopwatch watch;
    parser.Parse(setup.file.c_str(), "r", -1L, 0);
    if (!write) {
        watch.Stop(sample);
        return sample;
    }
    const std::string out = setup.file + ".written";
    FILE* stream = std::fopen(out.c_str(), "w");
    watch.Start();
    for (int i = 0; i < parser.GetGoalCount(); ++i)
        parser.WriteFile(stream, parser.GetGoalAt(i), 0, 1);
    std::fclose(stream);
    watch.Stop(sample);
    std::remove(out.c_str());
    return sample;
}

// Reads lines and counts parentheses and tokens: no tree at all.
Sample LowerBound(const Setup& setup)
{
    Sample sample;
    Stopwatch watch;
    FILE* in = std::fopen(setup.file.c_str(), "r");
    char line[4096];
    long long tokens = 0;
    while (in && std::fgets(line, sizeof line, in)) {
        bool inWord = false;
        for (const char* p = line; *p; ++p) {
            const bool space = *p == ' ' || *p == '\n' || *p == '\t';
            if (*p == '(' || *p == ')') {
                ++tokens;
                inWord = false;
            } else if (!space && !inWord) {
                ++tokens;
                inWord = true;
            } else if (space) {
                inWord = false;
            }
        }
    }
    if (in)
        std::fclose(in);
    sample.nodes = tokens;
    watch.Stop(sample);
    return sample;
}

#ifdef ZEL_BENCH_SFSEXP
long long WalkSexp(sexp_t* root)
{
    long long count = 0;
    std::vector<sexp_t*> pending{root};
    while (!pending.empty()) {
        sexp_t* node = pending.back();
        pending.pop_back();
        for (; node; node = node->next) {
            ++count;
            if (node->ty == SEXP_LIST && node->list)
                pending.push_back(node->list);
        }
    }
    return count;
}

Sample Sfsexp(const Setup& setup, bool smallBuffers)
{
    Sample sample;
    Stopwatch watch;
    const size_t before = HeapInUse();
    if (smallBuffers)
        set_parser_buffer_params(16, 16);
    FILE* in = std::fopen(setup.file.c_str(), "rb");
    std::string text;
    char block[1 << 16];
    for (size_t n; in && (n = std::fread(block, 1, sizeof block, in)) > 0;)
        text.append(block, n);
    if (in)
        std::fclose(in);
    sexp_t* tree = parse_sexp(&text[0], text.size());
    sample.nodes = WalkSexp(tree);
    sample.bytesPerNode =
        static_cast<double>(HeapInUse() - before - text.capacity()) / static_cast<double>(sample.nodes);
    destroy_sexp(tree);
    sexp_cleanup();
    watch.Stop(sample);
    return sample;
}
#endif

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Report(const char* what, const std::vector<Sample>& runs, double megabytes)
{
    std::vector<double> seconds, user, system;
    for (const Sample& s : runs) {
        seconds.push_back(s.seconds);
        user.push_back(s.userSeconds);
        system.push_back(s.systemSeconds);
    }
    const Sample& last = runs.back();
    // Columns that a measurement does not fill show "-".
    char perNode[32] = "-", nodes[32] = "-";
    if (last.nodes > 0) {
        std::snprintf(perNode, sizeof perNode, last.bytesPerNode > 0 ? "%.1f" : "-", last.bytesPerNode);
        std::snprintf(nodes, sizeof nodes, "%lld", last.nodes);
    }
    std::printf("| %-28s | %8.1f | %6.2f | %6.2f | %8.1f | %10s | %9s |\n", what, megabytes / Median(seconds), Median(user),
                Median(system), last.peakMb, perNode, nodes);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s GRAMMAR FILE [RUNS]\n", argv[0]);
        return 2;
    }
    const Setup setup{argv[1], argv[2]};
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    FILE* in = std::fopen(setup.file.c_str(), "rb");
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", setup.file.c_str());
        return 2;
    }
    std::fseek(in, 0, SEEK_END);
    const double megabytes = std::ftell(in) / 1e6;
    std::fclose(in);

    auto measure = [&](const char* what, const std::function<Sample()>& body) {
        InChild(body);  // warm-up
        std::vector<Sample> samples;
        for (int i = 0; i < runs; ++i)
            samples.push_back(InChild(body));
        Report(what, samples, megabytes);
    };
    std::printf("%s: %.1f MB, median of %d runs after a warm-up\n\n", setup.file.c_str(), megabytes, runs);
    std::printf("| %-28s | %8s | %6s | %6s | %8s | %10s | %9s |\n", "measurement", "MB/s", "user s", "sys s", "peak MB",
                "bytes/node", "nodes");
    std::printf("|------------------------------|----------|--------|--------|----------|------------|-----------|\n");
    measure("zel whole, recursive engine", [&] { return ZelWhole(setup, 0); });
    measure("zel whole, iterative engine", [&] { return ZelWhole(setup, 1); });
    measure("zel parse only", [&] { return ZelPart(setup, false); });
    measure("zel write", [&] { return ZelPart(setup, true); });
#ifdef ZEL_BENCH_SFSEXP
    measure("sfsexp whole, buffers 16/16", [&] { return Sfsexp(setup, true); });
    measure("sfsexp whole, defaults", [&] { return Sfsexp(setup, false); });
#else
    std::printf("| %-28s | %8s | %6s | %6s | %8s | %10s | %9s |\n", "sfsexp (not installed)", "-", "-", "-", "-", "-", "-");
#endif
    measure("lower bound (fgets, count)", [&] { return LowerBound(setup); });
    return 0;
}
