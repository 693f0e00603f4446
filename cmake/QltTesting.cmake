# qlt_add_test(NAME [GUI] SOURCES src... LIBS lib...)
# One GoogleTest executable per call, registered with CTest. Every test runs in
# a private sandbox (home, per-user settings and program folder under a fresh
# temporary folder, set up by the test main), so no test touches a person's
# files. GUI tests get a QApplication on the offscreen platform.
find_package(GTest REQUIRED)
include(GoogleTest)

function(qlt_add_test name)
    cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    if(T_GUI)
        set(main qlt_testmain_gui)
    else()
        set(main qlt_testmain_core)
    endif()
    target_link_libraries(${name} PRIVATE ${T_LIBS} ${main} qlt_testsupport GTest::gtest GTest::gmock)
    target_compile_definitions(${name} PRIVATE
        QLT_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
        QLT_BIN_DIR="${QLT_BIN_DIR}")
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
