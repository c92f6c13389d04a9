// The base message hooks of the front: PrintError writes the severity prefix and the text
// through WriteMsg, WriteMsg formats and discards, ErrorSummary does nothing.
#include <cstdarg>
#include <cstdio>

#include "zel/parser.h"

void CZelParser::PrintError(zelSevCode severity, int line, const char* text)
{
    switch (severity) {
    case zelSEV_NOTE:
        WriteMsg("Note: Line %d: ", line);
        break;
    case zelSEV_WARNING:
        WriteMsg("Warning: Line %d: ", line);
        break;
    case zelSEV_ERROR:
        WriteMsg("Error: Line %d: ", line);
        break;
    default:
        break;
    }
    if (text)
        WriteMsg("%s", text);
}

void CZelParser::WriteMsg(const char* format, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
}

void CZelParser::ErrorSummary() {}
