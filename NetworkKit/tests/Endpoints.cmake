# Wire tests of the endpoint families and their records.
set(endpoint_test_data "${CMAKE_CURRENT_SOURCE_DIR}/data")
foreach(name tst_EndpointRecords tst_UserEndpoints tst_LibraryEndpoints
             tst_StudyContentEndpoints tst_InboxAndRewardEndpoints
             tst_FlashcardImport)
    orbelo_add_test(NAME ${name} SOURCES ${name}.cpp EndpointHarness.h LIBRARIES NetworkKit TestSupport)
    target_compile_definitions(${name} PRIVATE NETWORKKIT_TEST_DATA_DIR="${endpoint_test_data}")
endforeach()
