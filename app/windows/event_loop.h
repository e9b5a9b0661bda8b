// The main event loop: polls the last input event and the live key and mouse
// state, runs at most one command a pass, and ends only through QuitTool.
// Script thread only.
#pragma once

// Runs the loop; never returns.
[[noreturn]] void RunEventLoop();
