# The Windows build: the whole program (build/win64/tesserak.exe, its window
# over the Windows API) and, with the tests, the Qt-free tests, the shared
# window behaviour tests and the Windows window tests, built with mingw-w64 in
# a tree of their own as part of the normal build. tests/windows runs the test
# programs under Wine. Left out when the cross compiler is missing
# (scripts/install-deps installs it).
find_program(TESSERAK_MINGW_CXX x86_64-w64-mingw32-g++-posix)
if(NOT TESSERAK_MINGW_CXX)
    message(STATUS "No mingw-w64 cross compiler: the Windows program is not built")
    return()
endif()
include(${PROJECT_SOURCE_DIR}/cmake/rebuild_on_change.cmake)

set(WIN64_BINARY_DIR ${CMAKE_BINARY_DIR}/win64)
set(win64_targets tesserak)
if(BUILD_TESTING)
    list(APPEND win64_targets headless_tests behaviour_tests window_tests_win32)
endif()
ExternalProject_Add(tesserak_win64
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${WIN64_BINARY_DIR}
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
        -DCMAKE_BUILD_TYPE=Release
        -DBUILD_TESTING=${BUILD_TESTING}
        # The resource script and icon file this build writes
        # (resources/CMakeLists.txt); the cross build compiles them into
        # `windows_resources`.
        -DTESSERAK_WIN32_RESOURCE_DIR=${TESSERAK_WIN32_RESOURCE_OUTPUT_DIR}
    DEPENDS windows_resource_files
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${WIN64_BINARY_DIR} --target ${win64_targets}
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON
)
# The resource files this build writes count as sources too.
tesserak_rebuild_on_change(tesserak_win64
    ${TESSERAK_WIN32_RESOURCE_OUTPUT_DIR}/tesserak.rc
    ${TESSERAK_WIN32_RESOURCE_OUTPUT_DIR}/tesserak.ico
    ${TESSERAK_WIN32_RESOURCE_OUTPUT_DIR}/tesserak.manifest)
set(TESSERAK_WIN64_BUILD ON)
