// CZelParser construction, teardown, files and the per-parse reset.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "core/allocation_guard.h"
#include "core/name_index.h"
#include "lex/input_limits.h"
#include "zel/oid.h"
#include "zel/parser.h"

CZelParser::CZelParser(zelParserS* grammar, int maxGoals, int stackSize, char escapeChar, int extendedSyntax)
    : m_in(nullptr),
      m_out(nullptr),
      m_scan(nullptr),
      m_lineNo(0),
      m_tokType(zelKW_DUMMY),
      m_tok(m_tokFixed),
      m_esc(escapeChar),
      m_keywords(10),
      m_depth(0),
      m_top(-1),
      m_reportsOff(0),
      m_errors(0),
      m_stackCap(stackSize < 0 ? 0 : stackSize),
      m_errno(0),
      m_stack(nullptr),
      m_needToken(1),
      m_current(nullptr),
      m_trace(0),
      m_symbolHashing(0),
      m_extended(extendedSyntax),
      m_maxGoals(maxGoals < 0 ? 0 : (maxGoals > kMaxGoals ? kMaxGoals : maxGoals)),
      m_line(m_lineFixed),
      m_goalCount(0),
      m_goals(),
      m_grammar(),
      m_statistics(0),
      m_tokenCount(0),
      m_stackHigh(0),
      m_stringBytes(0),
      m_symbolCount(0),
      m_tokCap(kTokenBufferSize),
      m_tokLen(0),
      m_lineCap(kLineBufferSize),
      m_inputEnded(false),
      m_recordGoals(true),
      m_fromText(false),
      m_names(new (std::nothrow) zel::NameIndex),
      m_tokName(-2),
      m_block(nullptr),
      m_blockLength(0),
      m_blockPos(0),
      m_blockNul(0),
      m_textLimit(zel::kMaxInputText),
      m_readStopped(false),
      m_parsingStream(false),
      m_stackGrowth(0),
      m_grammarState(grammar ? kGrammarUnchecked : kGrammarNone),
      m_semRows(0),
      m_grammarReported(false)
{
    if (grammar)
        m_grammar = *grammar;
    m_tokFixed[0] = '\0';
    m_lineFixed[0] = '\0';
    m_scan = m_line;
    if (!AllocateStack())
        std::printf("Error allocating zel parser stack.\n");
    if (!m_names) {
        // Without its keyword index a parser can do nothing with its grammar.
        std::printf("Error allocating from heap.\n");
        m_grammarState = kGrammarNone;
    }
}

CZelParser::~CZelParser()
{
    Close();
    DeleteAllObjects();
    DeleteReleased();
    delete[] m_stack;
    if (m_tok != m_tokFixed)
        std::free(m_tok);
    if (m_line != m_lineFixed)
        std::free(m_line);
    std::free(m_block);
    delete m_names;
}

bool CZelParser::AllocateStack()
{
    if (!m_stack)
        m_stack = new (std::nothrow) zelStackS[static_cast<size_t>(m_stackCap) + 1];
    return m_stack != nullptr;
}

// Doubles the capacity of a full stack, keeping its entries. False when that cannot be
// done: the capacity is at its limit or the memory ran out (then reported as such).
bool CZelParser::GrowStack()
{
    const int limit = std::numeric_limits<int>::max() - 1;
    if (m_stackCap >= limit)
        return false;
    const int capacity = m_stackCap == 0 ? 16 : (m_stackCap > limit / 2 ? limit : 2 * m_stackCap);
    zelStackS* grown = new (std::nothrow) zelStackS[static_cast<size_t>(capacity) + 1];
    if (!grown) {
        WriteMsg("Error allocating from heap.\n");
        return false;
    }
    std::memcpy(grown, m_stack, sizeof(zelStackS) * static_cast<size_t>(m_stackCap));
    delete[] m_stack;
    m_stack = grown;
    m_stackCap = capacity;
    return true;
}

int CZelParser::GetErrno() const { return m_errno; }

void CZelParser::SetIfname(const char* name) { m_ifname = name; }

CString& CZelParser::GetIfname() { return m_ifname; }

void CZelParser::SetOfname(const char* name) { m_ofname = name; }

CString& CZelParser::GetOfname() { return m_ofname; }

void CZelParser::SetStatistics(int on) { m_statistics = on; }

void CZelParser::SetSymbolHashing(int on) { m_symbolHashing = on; }

void CZelParser::SetTraceLevel(int level) { m_trace = level; }

void CZelParser::SetStackGrowth(int on) { m_stackGrowth = on; }

int CZelParser::Open(const char* name, const char* mode)
{
    const int opened = zel::GuardAllocation(*this, -1, [&] { return OpenFile(name, mode); });
    if (opened >= 0)
        return opened;
    Close();
    return 0;
}

int CZelParser::OpenFile(const char* name, const char* mode)
{
    // The name may be one of this parser's own file names, which Close clears.
    CString fileName(name);
    Close();
    ReinitParser();
    if (!UseGrammar()) {
        // Malformed tables have been reported as such; a parser without tables cannot open.
        if (m_errno != zelERRNO_GRAMMAR)
            Report(zelERR_OPEN_FILE, 0, fileName);
        return 0;
    }
    if (!name || !mode) {
        Report(zelERR_OPEN_FILE, 0, fileName);
        return 0;
    }

    bool input = false;
    bool output = false;
    const bool readWrite = std::strcmp(mode, "rw") == 0;
    if (readWrite || (mode[0] && mode[1] == '+')) {
        input = output = true;
    } else if (mode[0] == 'r') {
        input = true;
    } else {
        output = true;
    }

    FILE* stream = std::fopen(fileName, readWrite ? "r+" : mode);
    if (!stream && readWrite) {
        // A missing file is created. A file that exists but cannot be opened for update is
        // read only, when it can be read: the output file name is kept, so that a later
        // Save fails in the writer's own checks. A file that cannot be read either is left
        // alone; it is never truncated.
        if (errno == ENOENT) {
            stream = std::fopen(fileName, "w+");
        } else if ((stream = std::fopen(fileName, "r"))) {
            m_ofname = fileName;
            output = false;
        }
    }
    if (!stream) {
        Report(zelERR_OPEN_FILE, 0, fileName);
        return 0;
    }
    // The streams are kept before the names are copied, so that Close finds them.
    if (input)
        m_in = stream;
    if (output)
        m_out = stream;
    if (input)
        m_ifname = fileName;
    if (output)
        m_ofname = fileName;
    LoadKeywords();
    return 1;
}

int CZelParser::Close()
{
    if (m_in)
        std::fclose(m_in);
    if (m_out && m_out != m_in)
        std::fclose(m_out);
    m_in = nullptr;
    m_out = nullptr;
    m_blockLength = m_blockPos = m_blockNul = 0;  // read-ahead of the closed stream
    m_ifname = "";
    m_ofname = "";
    m_keywords.RemoveAll();
    if (m_names)
        m_names->Clear();
    return 1;
}

void CZelParser::ReinitParser()
{
    m_line[0] = '\0';
    m_scan = m_line;
    m_lineNo = 0;
    m_tokenCount = 0;
    ClearToken();
    m_depth = 0;
    m_reportsOff = 0;
    m_errors = 0;
    m_errno = 0;
    m_top = -1;
    m_inputEnded = false;
    m_readStopped = false;
}

void CZelParser::FullInit()
{
    m_current = nullptr;
    m_errors = 0;
    m_top = -1;
    m_needToken = 1;
    m_tokenCount = 0;
    m_stackHigh = 0;
    m_stringBytes = 0;
    m_symbolCount = 0;
    DeleteAllObjects();
    DeleteReleased();
    m_goalCount = 0;
    ReinitParser();
}
