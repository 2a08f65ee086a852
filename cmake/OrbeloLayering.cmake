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
