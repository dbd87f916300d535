#pragma once

#include <string>
#include <vector>

// The program's arguments as UTF-8, for text that goes to the engine (statements, table
// names). On Windows argv holds ANSI code page text, so the wide command line is converted;
// file names should still be taken from argv, which is what std::fopen expects there.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// Standard output without newline translation, so CSV lines end in CRLF exactly once.
void useBinaryStandardOutput();
