# How the targets compile, set in one place so that all three trees (Linux,
# Windows, sanitized) build quickly; it never changes what a target contains.
# Included before the folders, which make every target of test-only code
# through tesserak_add_test_target; the top-level CMakeLists.txt calls
# tesserak_precompile_groups once they have made their targets (a target a
# tree does not make is skipped).

# Test-only code is optimised for a quick compile (-Og, which also keeps it
# easy to debug) instead of the build type's -O2 or -O3, and in the sanitized
# tree instead of -O1, where the sanitizers' checks make optimising slow: a
# test source compiles in about half the time. The tests spend their time in
# the program's code and on disk, so they run as fast. The program's own layers
# keep the build type's optimisation, as the tests check them as shipped.
#
# Precompiled headers: parsing GoogleTest, Qt Widgets or windows.h takes most
# of a source file's compile time, so each group of targets with the same
# compile flags parses them once. The first target of a group makes the
# precompiled header and the others reuse it, so the first is one that links
# none of the others, and one without a macro of its own on the command line:
# GCC takes a precompiled header only where each such macro it was made with is
# defined the same (Qt Test defines the target's folders, so in the window
# group the first is main_dialog_fixture, which does not link Qt Test). The
# sources still include what they use, and build the same with
# CMAKE_DISABLE_PRECOMPILE_HEADERS=ON.
set(tesserak_std_headers <algorithm> <cstdint> <filesystem> <functional> <map> <memory>
    <string> <vector>)
if(WIN32)
    # Through win_types.h, which includes windows.h as every source does.
    set(tesserak_window_headers "${PROJECT_SOURCE_DIR}/platform/win_types.h" <commctrl.h>)
else()
    set(tesserak_window_headers <QAbstractButton> <QApplication> <QLabel> <QLineEdit>
        <QPushButton> <QString> <QWidget>)
endif()

# tesserak_add_test_target(<name> <EXECUTABLE | STATIC> [PCH <headless | window>] [<source>...])
# Makes a program or library of test-only code, compiled with -Og and, with
# PCH, in a group's precompiled header: headless (the standard headers and
# GoogleTest) or window (also the window system's). Without PCH (the support
# the benchmark shares, which it builds without GoogleTest), with none.
function(tesserak_add_test_target name kind)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "PCH" "")
    if(kind STREQUAL "EXECUTABLE")
        add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
    else()
        add_library(${name} ${kind} ${arg_UNPARSED_ARGUMENTS})
    endif()
    target_compile_options(${name} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-Og>)
    set_target_properties(${name} PROPERTIES TESSERAK_TEST_CODE ON)
    if(arg_PCH)
        set_property(GLOBAL APPEND PROPERTY tesserak_precompiled_${arg_PCH} ${name})
    endif()
endfunction()

# tesserak_precompile(<headers...> TARGETS <first> <others...>)
function(tesserak_precompile)
    cmake_parse_arguments(PARSE_ARGV 0 arg "" "" "TARGETS")
    set(host "")
    foreach(target IN LISTS arg_TARGETS)
        if(NOT TARGET ${target} OR target STREQUAL host)
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

# Every program and library under tests/ (but GoogleTest's own, which the
# Windows tree builds there) is test-only code: one made otherwise would miss
# both of the above without a word.
function(tesserak_check_test_targets dir)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        get_target_property(test_code ${target} TESSERAK_TEST_CODE)
        if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|OBJECT_LIBRARY)$" AND NOT test_code)
            message(FATAL_ERROR "${target} in ${dir} is test code: make it with tesserak_add_test_target")
        endif()
    endforeach()
    get_property(folders DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    set(tests ${PROJECT_SOURCE_DIR}/tests)
    foreach(folder IN LISTS folders)
        cmake_path(IS_PREFIX tests "${folder}" inside)
        if(inside)
            tesserak_check_test_targets(${folder})
        endif()
    endforeach()
endfunction()

function(tesserak_precompile_groups)
    get_property(headless GLOBAL PROPERTY tesserak_precompiled_headless)
    get_property(window GLOBAL PROPERTY tesserak_precompiled_window)
    # The Qt-free tests and their support.
    tesserak_precompile(${tesserak_std_headers} <gtest/gtest.h> TARGETS test_support ${headless})
    # The window tests, their drivers, fixtures and mains.
    tesserak_precompile(${tesserak_std_headers} ${tesserak_window_headers} <gtest/gtest.h>
        TARGETS main_dialog_fixture ${window})
    # The window framework, the main dialog, the program and the benchmark.
    tesserak_precompile(${tesserak_std_headers} ${tesserak_window_headers}
        TARGETS framework_window ui split_join_app tesserak tesserak_bench)
    if(EXISTS ${PROJECT_SOURCE_DIR}/tests AND BUILD_TESTING)
        tesserak_check_test_targets(${PROJECT_SOURCE_DIR}/tests)
    endif()
endfunction()
