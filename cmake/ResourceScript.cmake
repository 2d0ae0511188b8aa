# addrix_resource_script(<output> TEMPLATE <file> STRINGS <file> [DEPENDS <files>...])
# Generates the resource script <output> at build time from a template and
# string table data with GenerateResourceScript.cmake, filling in the icon
# directory resources/windows and the project version.
function(addrix_resource_script output)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "TEMPLATE;STRINGS" "DEPENDS")
    set(generator ${PROJECT_SOURCE_DIR}/cmake/GenerateResourceScript.cmake)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND}
            -D STRINGS=${ARG_STRINGS}
            -D TEMPLATE=${ARG_TEMPLATE}
            -D ICONS=${PROJECT_SOURCE_DIR}/resources/windows
            -D VERSION=${PROJECT_VERSION}
            -D OUTPUT=${output}
            -P ${generator}
        DEPENDS ${ARG_STRINGS} ${ARG_TEMPLATE} ${generator} ${ARG_DEPENDS}
        COMMENT "Generating ${output}"
        VERBATIM)
endfunction()
