// Test helper: what a program may import to start on Windows XP SP3. Pure;
// any thread.
#pragma once

#include <string>

// True for the system libraries every Windows from XP SP3 on carries (the
// name compared without case): the program may import from these only.
bool IsXpSystemLibrary(const std::string &library);

// Why Windows XP SP3 lacks the function the program imports from library, as
// "<family> (<first Windows that has it>)"; "" when XP has it as far as
// these rules know.
std::string XpLacks(const std::string &library, const std::string &function);
