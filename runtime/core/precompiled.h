// The headers that nearly every source of the runtime and the application
// includes, precompiled once per build tree (CMakeLists.txt). Every source
// still includes what it uses itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif
