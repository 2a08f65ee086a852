# The app's layers, from the bottom: Text, Common and Media; the features; the shell. Code includes
# the app's headers by folder ("Quiz/QuizSetupModel.h"), and a target sees a folder only when it
# owns it or links the target that does, so an include that reaches up a layer does not compile.

# orbelo_layer_folders(<target> <folder>...)
# Makes `#include "<folder>/X.h"` reach Orbelo/<folder>/X.h for the target and whatever links it:
# the target's include directory holds one link per folder it owns, and nothing else.
function(orbelo_layer_folders target)
    set(dir ${CMAKE_BINARY_DIR}/layers/${target})
    foreach(folder ${ARGN})
        file(MAKE_DIRECTORY ${dir})
        if(NOT EXISTS ${dir}/${folder})
            file(CREATE_LINK ${PROJECT_SOURCE_DIR}/Orbelo/${folder} ${dir}/${folder} SYMBOLIC)
        endif()
    endforeach()
    target_include_directories(${target} PUBLIC ${dir})
endfunction()

# orbelo_layering_check(LAYER <target> OWN <header of the layer> ABOVE <header of a layer above>)
# Proves a layer cannot include from above it: a test builds a one-line source of `LAYER` that
# includes one of its own headers and then one from above, and passes only when the compiler
# stops at the header from above because that folder is not on the layer's include path.
function(orbelo_layering_check)
    cmake_parse_arguments(L "" "LAYER;OWN;ABOVE" "" ${ARGN})
    set(name layering_${L_LAYER})
    set(source ${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp)
    file(WRITE ${source} "#include \"${L_OWN}\"\n#include \"${L_ABOVE}\"\n")
    add_library(${name} OBJECT EXCLUDE_FROM_ALL ${source})
    target_link_libraries(${name} PRIVATE ${L_LAYER})
    add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target ${name})
    string(REPLACE "." "\\." above ${L_ABOVE})
    set_tests_properties(${name} PROPERTIES
        LABELS layering
        PASS_REGULAR_EXPRESSION "${above}[^\n]*(No such file|not found)")
endfunction()
