include(GoogleTest)

# sonolux_library(<target> <alias> [PRIVATE_HEADERS <file names...>])
# Gives a library its namespaced alias and publishes exactly its own headers. Each header
# among the target's sources is linked into build/include/<target>/ under its path from the
# project root, and that folder is the target's public include folder: '#include
# "platform/mci/song.h"' then compiles only in a target that links the library that owns
# the header, so the build enforces the layering. PRIVATE_HEADERS go to a folder only the
# target's own sources see (headers naming another library's types that users must not
# need).
function(sonolux_library target alias)
    cmake_parse_arguments(L "" "" "PRIVATE_HEADERS" ${ARGN})
    add_library(${alias} ALIAS ${target})
    get_target_property(type ${target} TYPE)
    get_target_property(sources ${target} SOURCES)
    get_target_property(source_dir ${target} SOURCE_DIR)
    set(public_root "${CMAKE_BINARY_DIR}/include/${target}")
    set(own_root "${CMAKE_BINARY_DIR}/include/${target}-own")
    # Made again at each configure, so a header removed from the sources is gone here too.
    file(REMOVE_RECURSE "${public_root}" "${own_root}")
    file(MAKE_DIRECTORY "${public_root}" "${own_root}")
    foreach(source IN LISTS sources)
        if(NOT source MATCHES "\\.h$")
            continue()
        endif()
        if(IS_ABSOLUTE "${source}")
            set(path "${source}")
        else()
            set(path "${source_dir}/${source}")
        endif()
        file(RELATIVE_PATH relative "${CMAKE_SOURCE_DIR}" "${path}")
        get_filename_component(name "${path}" NAME)
        if(name IN_LIST L_PRIVATE_HEADERS)
            set(link "${own_root}/${relative}")
        else()
            set(link "${public_root}/${relative}")
        endif()
        get_filename_component(link_dir "${link}" DIRECTORY)
        file(MAKE_DIRECTORY "${link_dir}")
        file(CREATE_LINK "${path}" "${link}" SYMBOLIC)
    endforeach()
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE "${public_root}")
    else()
        target_include_directories(${target} PUBLIC "${public_root}" PRIVATE "${own_root}")
    endif()
endfunction()

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
        set(test_main Sonolux::TestQtMain)
    elseif(T_CORE)
        set(test_main Sonolux::TestQCoreMain)
    else()
        set(test_main GTest::gtest_main)
    endif()
    target_link_libraries(${name} PRIVATE ${T_LIBS} Sonolux::TestSupport GTest::gtest GTest::gmock ${test_main})
    # Tests may look inside the libraries they test: the whole tree comes last, after the
    # folders the linked libraries publish.
    target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}/tests")
    target_include_directories(${name} AFTER PRIVATE "${CMAKE_SOURCE_DIR}")
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
