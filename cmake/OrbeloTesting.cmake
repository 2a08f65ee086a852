# orbelo_add_test(NAME <name> SOURCES <files...> LIBRARIES <targets...>)
# One QtTest executable per subject, registered with CTest.
function(orbelo_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBRARIES})
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/scripts/lsan.supp:print_suppressions=0"
        TIMEOUT 300)
endfunction()
