# The posix thread model gives the C++ library its std::mutex and std::thread
# (GoogleTest needs them); winpthread is linked statically like the rest.
set(CMAKE_C_COMPILER ${QS_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QS_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QS_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QS_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Windows test executables run through Wine, inside the harness that tools/test starts.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
