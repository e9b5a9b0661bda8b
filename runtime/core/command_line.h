// The command-line parameter list: the tokens of the process's command line,
// program path first. Filled once by the core start-up on the GUI thread,
// read afterwards by the script thread; emptied by the core teardown.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/core/string_value.h"

// The command-line tokens in order; the first is the program path as spelled.
extern std::vector<StringValue> ParameterList;
// Tokens after the program path (0 without arguments); -1 before any token.
extern std::int32_t ParameterCount;

// Splits the zero-terminated text in place: blanks (spaces only) separate
// tokens, a double quote opens a token that runs to the next double quote or
// to the end; closing quotes and separating blanks are overwritten with zeros.
// Appends one StringValue per token to list and adds one to count per token.
// Pure: touches nothing but its arguments; text may be null (no tokens).
void SplitCommandLine(char *text, std::vector<StringValue> &list, std::int32_t &count);

// Empties ParameterList, sets ParameterCount to -1, then splits a private copy
// of commandLine into them (the caller's text is left unchanged).
void LoadParameterList(const char *commandLine);

// Empties ParameterList and sets ParameterCount back to -1.
void ClearParameterList();
