# archiver_library(<target> PREFIX <prefix> SOURCES <files...> [EXTRA_EXPORTS <names...>])
# One archiver library: a shared library in the program folder exporting the interface's
# entries under <prefix> (and the extra names), and nothing else.
function(archiver_library target)
    cmake_parse_arguments(L "" "PREFIX" "SOURCES;EXTRA_EXPORTS" ${ARGN})
    set(exports ${L_PREFIX})
    foreach(suffix OpenArchive CloseArchive FindFirst FindNext CheckArchive
                   SetOwnerWindowEx KillOwnerWindowEx)
        list(APPEND exports "${L_PREFIX}${suffix}")
    endforeach()
    list(APPEND exports ${L_EXTRA_EXPORTS})
    list(JOIN exports ";\n        " export_lines)
    set(map "${CMAKE_CURRENT_BINARY_DIR}/${target}.map")
    file(CONFIGURE OUTPUT "${map}" CONTENT "{\n    global:\n        ${export_lines};\n    local: *;\n};\n")

    add_library(${target} SHARED ${L_SOURCES})
    target_link_libraries(${target} PRIVATE Sonolux::ArcClient)
    target_link_options(${target} PRIVATE "-Wl,--version-script=${map}" -Wl,--no-undefined)
    set_target_properties(${target} PROPERTIES LINK_DEPENDS "${map}")
    # The helper does the work: building a library builds it too.
    add_dependencies(${target} arcworker unrar)
endfunction()
