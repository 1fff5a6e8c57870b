# How the targets compile, set in one place so that all three trees (Linux,
# Windows, sanitized) build quickly; it never changes what a target contains.
# Included at the end of the top-level CMakeLists.txt, once the folders have
# made their targets; a target a tree does not make is skipped.

# Test-only code is optimised for a quick compile (-Og, which also keeps it
# easy to debug) instead of the build type's -O2 or -O3, and in the sanitized
# tree instead of -O1, where the sanitizers' checks make optimising slow: a
# test source compiles in about half the time. The tests spend their time in
# the program's code and on disk, so they run as fast. The program's own layers
# keep the build type's optimisation, as the tests check them as shipped.
set(tesserak_test_targets
    support_core support_window test_support window_driver main_dialog_fixture qt_test_main
    win32_test_main headless_tests framework_tests ui_tests behaviour_tests window_tests_win32
    version_info_tests)
foreach(target IN LISTS tesserak_test_targets)
    if(TARGET ${target})
        target_compile_options(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-Og>)
    endif()
endforeach()

# Precompiled headers: parsing GoogleTest, Qt Widgets or windows.h takes most
# of a source file's compile time, so each group of targets with the same
# compile flags parses them once. The first target of a group makes the
# precompiled header and the others reuse it, so the first is one that none of
# the others links, and one without a macro of its own on the command line:
# GCC takes a precompiled header only where each such macro it was made with is
# defined the same (Qt Test defines the target's folders, so in the window
# group the first is main_dialog_fixture, which does not link Qt Test). The sources still include what they use, and build the
# same with CMAKE_DISABLE_PRECOMPILE_HEADERS=ON.
set(tesserak_std_headers <algorithm> <cstdint> <filesystem> <functional> <map> <memory>
    <string> <vector>)
if(WIN32)
    # Through win_types.h, which includes windows.h as every source does.
    set(tesserak_window_headers "${PROJECT_SOURCE_DIR}/platform/win_types.h" <commctrl.h>)
else()
    set(tesserak_window_headers <QAbstractButton> <QApplication> <QLabel> <QLineEdit>
        <QPushButton> <QString> <QWidget>)
endif()

# tesserak_precompile(<headers...> TARGETS <first> <others...>)
function(tesserak_precompile)
    cmake_parse_arguments(PARSE_ARGV 0 arg "" "" "TARGETS")
    set(host "")
    foreach(target IN LISTS arg_TARGETS)
        if(NOT TARGET ${target})
            continue()
        endif()
        if(host)
            target_precompile_headers(${target} REUSE_FROM ${host})
        else()
            target_precompile_headers(${target} PRIVATE ${arg_UNPARSED_ARGUMENTS})
            set(host ${target})
        endif()
    endforeach()
endfunction()

# The Qt-free tests and their support.
tesserak_precompile(${tesserak_std_headers} <gtest/gtest.h>
    TARGETS test_support headless_tests)
# The window tests, their fixtures and mains (not the window driver, which
# the benchmark builds without GoogleTest).
tesserak_precompile(${tesserak_std_headers} ${tesserak_window_headers} <gtest/gtest.h>
    TARGETS main_dialog_fixture qt_test_main win32_test_main behaviour_tests
            framework_tests ui_tests window_tests_win32)
# The window framework, the main dialog, the program and the benchmark.
tesserak_precompile(${tesserak_std_headers} ${tesserak_window_headers}
    TARGETS framework_window ui split_join_app tesserak tesserak_bench)
