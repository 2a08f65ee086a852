# orbelo_feature(SOURCES <C++ files...> QML <QML files...>)
# Adds the feature folder this is called from to the app: its view models join OrbeloCore (the QML
# module "OrbeloModels"), its screens join the views module "OrbeloViews" that Orbelo/App builds.
# Screens keep flat names: every QML file of the app is one type of OrbeloViews.
function(orbelo_feature)
    cmake_parse_arguments(F "" "" "SOURCES;QML" ${ARGN})
    target_sources(OrbeloCore PRIVATE ${F_SOURCES})
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    orbelo_layer_folders(OrbeloCore ${folder})
    set_property(GLOBAL APPEND PROPERTY ORBELO_FEATURE_DIRS ${CMAKE_CURRENT_SOURCE_DIR})
    foreach(file ${F_QML})
        set_property(GLOBAL APPEND PROPERTY ORBELO_VIEW_FILES ${CMAKE_CURRENT_SOURCE_DIR}/${file})
    endforeach()
endfunction()
