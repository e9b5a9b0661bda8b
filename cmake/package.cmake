# The download for Windows users, made by CPack:
#   cmake --build --preset win32 --target package
# gives Quillsort-<version>-win32.zip with Quillsort.exe (stripped when it was
# linked), the user guide with its pictures, and the licence.

# The texts get Windows line ends, which every Notepad shows as lines.
# (configure_file only converts them: the texts hold no @VARIABLE@ names.)
set(QS_PACKAGE_TEXTS ${CMAKE_BINARY_DIR}/package-texts)
configure_file(${CMAKE_SOURCE_DIR}/docs/user-guide.md ${QS_PACKAGE_TEXTS}/user-guide.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${QS_PACKAGE_TEXTS}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

# The pictures the guide shows, taken by the end-to-end tests.
set(QS_GUIDE_PICTURES main-window.png list-drag.png context-menu.png rename-dialog.png
                      hidden-plugins-dialog.png about-window.png)
list(TRANSFORM QS_GUIDE_PICTURES PREPEND ${CMAKE_SOURCE_DIR}/docs/ OUTPUT_VARIABLE qs_pictures)

install(PROGRAMS ${QS_TOOL_EXE} DESTINATION .)
install(FILES ${QS_PACKAGE_TEXTS}/user-guide.txt ${QS_PACKAGE_TEXTS}/LICENSE.txt ${qs_pictures} DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QS_PACKAGE_SYSTEM win64)
else()
  set(QS_PACKAGE_SYSTEM win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Quillsort)
set(CPACK_PACKAGE_VENDOR "Quillsort authors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Puts the browser's search plugins in the order you choose")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(QS_PACKAGE_NAME Quillsort-${PROJECT_VERSION}-${QS_PACKAGE_SYSTEM})
set(CPACK_PACKAGE_FILE_NAME ${QS_PACKAGE_NAME})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
# The zip holds one folder named like the zip, so that unpacking it never
# scatters files.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
