# Quillsort.exe built in a build tree of its own, build/<preset>/product, from
# the same sources and with the same build type, by the toolchain named in
# QS_PRODUCT_TOOLCHAIN. The executable lands in this tree's top folder. The
# target is called Quillsort here too, so `--target Quillsort` builds it in
# every preset; it is rebuilt (incrementally) on every build of this tree.
include(ExternalProject)

set(QS_TOOL_EXE ${CMAKE_BINARY_DIR}/Quillsort.exe)
ExternalProject_Add(
  Quillsort
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/product
  PREFIX ${CMAKE_BINARY_DIR}/product-steps
  CMAKE_CACHE_ARGS -DCMAKE_TOOLCHAIN_FILE:FILEPATH=${QS_PRODUCT_TOOLCHAIN}
                   -DCMAKE_BUILD_TYPE:STRING=${CMAKE_BUILD_TYPE}
                   -DCMAKE_C_FLAGS_RELEASE:STRING=${CMAKE_C_FLAGS_RELEASE}
                   -DCMAKE_CXX_FLAGS_RELEASE:STRING=${CMAKE_CXX_FLAGS_RELEASE}
                   -DCMAKE_RUNTIME_OUTPUT_DIRECTORY:PATH=${CMAKE_BINARY_DIR}
                   -DBUILD_TESTING:BOOL=OFF
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target Quillsort
  BUILD_ALWAYS TRUE
  BUILD_BYPRODUCTS ${QS_TOOL_EXE}
  INSTALL_COMMAND "")
