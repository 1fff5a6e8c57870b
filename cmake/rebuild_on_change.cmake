# The Windows and the sanitized trees are built by this build through
# ExternalProject. Their build step runs when a file they are made from has
# changed since it last ran, not on every build: any file in the program's and
# the tests' folders (the list is globbed again on every build, so a new file
# counts too) and the files given after the name. The tree's own ninja then
# decides what to compile. A tree whose outputs were removed by hand is built
# again with `cmake --build build/win64` (or build/sanitized).
include(ExternalProject)

function(tesserak_rebuild_on_change name)
    set(inputs ${PROJECT_SOURCE_DIR}/CMakeLists.txt ${PROJECT_SOURCE_DIR}/LICENSE)
    foreach(dir app cmake engine framework platform resources tests ui)
        file(GLOB_RECURSE dir_inputs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*)
        list(APPEND inputs ${dir_inputs})
    endforeach()
    ExternalProject_Add_Step(${name} inputs
        COMMENT "Sources of '${name}' changed"
        DEPENDS ${inputs} ${ARGN}
        DEPENDEES configure
        DEPENDERS build)
endfunction()
