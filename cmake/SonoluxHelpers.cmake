include(GoogleTest)

# sonolux_test(<name> SOURCES <files...> LIBS <targets...> [NEEDS_FIXTURES] [WINDOWS | CORE]
#              [RESOURCE_LOCK <name>])
# A GoogleTest program under build/tests; each of its tests becomes one CTest test.
# Tests that read the shared fixtures are built only when those exist. WINDOWS gives the
# program a main that makes the widget application the window tests need (offscreen); CORE
# one that makes an application without widgets.
# RESOURCE_LOCK keeps the program's tests from running at the same time as each other
# when they share something outside their own scratch folders.
function(sonolux_test name)
    cmake_parse_arguments(T "NEEDS_FIXTURES;WINDOWS;CORE" "RESOURCE_LOCK" "SOURCES;LIBS" ${ARGN})
    if(T_NEEDS_FIXTURES AND NOT EXISTS "${SONOLUX_FIXTURES_DIR}")
        message(STATUS "${name}: no fixtures at ${SONOLUX_FIXTURES_DIR}, not built")
        return()
    endif()
    add_executable(${name} ${T_SOURCES})
    if(T_WINDOWS)
        set(test_main sonolux_test_qtmain)
    elseif(T_CORE)
        set(test_main sonolux_test_qcoremain)
    else()
        set(test_main GTest::gtest_main)
    endif()
    target_link_libraries(${name} PRIVATE ${T_LIBS} sonolux_test_support GTest::gtest GTest::gmock ${test_main})
    target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}/tests")
    target_compile_definitions(${name} PRIVATE
        SONOLUX_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        SONOLUX_DIST_DIR="${SONOLUX_DIST_DIR}"
        SONOLUX_FIXTURES_DIR="${SONOLUX_FIXTURES_DIR}"
        SONOLUX_TEST_BINARY_DIR="${CMAKE_BINARY_DIR}/tests")
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
    if(SONOLUX_SANITIZE)
        # Sanitizer options, with the leak suppressions for system libraries, built in.
        target_sources(${name} PRIVATE "${CMAKE_SOURCE_DIR}/tests/sanitizers/defaultoptions.cpp")
        target_compile_definitions(${name} PRIVATE
            SONOLUX_LSAN_SUPPRESSIONS="${CMAKE_SOURCE_DIR}/tests/sanitizers/lsan.supp")
    endif()
    set(lock)
    if(T_RESOURCE_LOCK)
        set(lock RESOURCE_LOCK "${T_RESOURCE_LOCK}")
    endif()
    # One variable per property: the discovery script splits a property's list value into
    # separate arguments, so "A=1;B=2" would lose B.
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                   ENVIRONMENT_MODIFICATION "SONOLUX_CODEPAGE=set:65001"
                   ${lock}
        TEST_PREFIX "${name}.")
endfunction()
