# The posix thread model gives the C++ library its std::mutex and std::thread
# (GoogleTest and the tests need them); winpthread is linked statically like
# the rest. The shipped executable uses the win32 thread model instead
# (mingw-i686-product.cmake): winpthread imports functions Windows XP lacks.
if(NOT QS_THREAD_MODEL)
  set(QS_THREAD_MODEL posix)
endif()
set(CMAKE_C_COMPILER ${QS_TRIPLET}-gcc-${QS_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${QS_TRIPLET}-g++-${QS_THREAD_MODEL})
set(CMAKE_RC_COMPILER ${QS_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QS_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Windows test executables run through Wine, inside the harness that tools/test starts.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
