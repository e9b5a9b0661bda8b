// Native (Linux) stand-in for the runtime error boxes, so that the error
// reporter's decisions can be tested without Windows. Every box is recorded
// instead of shown; the answer and the end of the program are test-controlled.
// Single-threaded use only.
#pragma once

#include <string>
#include <vector>

struct RecordedErrorBox {
    std::string text;
    std::string caption;
    unsigned style;
};

// The boxes shown so far, oldest first. The test may clear it.
std::vector<RecordedErrorBox> &RecordedErrorBoxes();
// The answer every warning box gives (1 OK, the default, or 2 Cancel).
void SetErrorBoxAnswer(int answer);
// Called where the program would end after a shown error. The hook must not
// return (a test throws from it); with no hook, or when it returns, the
// process ends with std::exit(0).
void SetProgramEndHook(void (*hook)());
