# Cross toolchain for the shipped 32-bit Quillsort.exe: the win32 thread model.
# The program starts no C++ threads, and this keeps winpthread, which imports
# functions Windows XP lacks (GetTickCount64), out of the executable.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QS_TRIPLET i686-w64-mingw32)
set(QS_THREAD_MODEL win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
