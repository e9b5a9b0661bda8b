# Makes the package as the package target does, into a folder of its own, and
# checks the zip: exactly the expected files in one folder named like the zip,
# the program byte for byte the one the tests ran and at most 1 MB, and the
# texts with Windows line ends. Prints the zip's listing.
#   cmake -DBUILD_DIR=... -DCPACK=... -DTOOL_EXE=... -DPACKAGE=<name> -DPICTURES=<a,b> -P check_package.cmake
set(out ${BUILD_DIR}/package-check)
file(REMOVE_RECURSE ${out})
execute_process(COMMAND ${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -B ${out} RESULT_VARIABLE failed
                OUTPUT_VARIABLE log ERROR_VARIABLE log)
set(zip ${out}/${PACKAGE}.zip)
if(failed OR NOT EXISTS ${zip})
  message(FATAL_ERROR "cpack made no ${PACKAGE}.zip:\n${log}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar tvf ${zip} OUTPUT_VARIABLE listing)
message("${PACKAGE}.zip:\n${listing}")

file(ARCHIVE_EXTRACT INPUT ${zip} DESTINATION ${out}/unpacked)
file(GLOB_RECURSE found RELATIVE ${out}/unpacked ${out}/unpacked/*)
string(REPLACE "," ";" pictures "${PICTURES}")
set(expected Quillsort.exe LICENSE.txt user-guide.txt ${pictures})
list(TRANSFORM expected PREPEND ${PACKAGE}/)
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "the zip holds\n  ${found}\ninstead of\n  ${expected}")
endif()

set(dir ${out}/unpacked/${PACKAGE})
file(SHA256 ${dir}/Quillsort.exe packed)
file(SHA256 ${TOOL_EXE} tested)
if(NOT packed STREQUAL tested)
  message(FATAL_ERROR "the zip's Quillsort.exe is not the one the tests ran (${TOOL_EXE})")
endif()
file(SIZE ${dir}/Quillsort.exe size)
if(size GREATER 1000000)
  message(FATAL_ERROR "Quillsort.exe has ${size} bytes, more than 1 MB")
endif()
message("Quillsort.exe: ${size} bytes")

# (Read as bytes: file(READ) as text drops the CRs.)
foreach(text LICENSE.txt user-guide.txt)
  file(READ ${dir}/${text} hex HEX)
  string(REGEX REPLACE "(..)" "\\1 " bytes "${hex}")
  string(REPLACE "0d 0a " "" lone "${bytes}")
  if(hex STREQUAL "" OR " ${lone}" MATCHES " 0a ")
    message(FATAL_ERROR "${text} is empty or has lines not ended by CR LF")
  endif()
endforeach()
file(STRINGS ${dir}/LICENSE.txt licence LIMIT_COUNT 1)
if(NOT licence STREQUAL "MIT License")
  message(FATAL_ERROR "LICENSE.txt is not the MIT licence")
endif()
