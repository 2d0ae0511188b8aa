# Writes the Windows resource script from its template, the string table
# data and the project version, so that the string resources never drift
# from the table the other platforms compile in.
#
#   cmake -D STRINGS=strings.txt -D TEMPLATE=addrix.rc.in -D ICONS=dir
#         -D VERSION=1.0.5.0 -D OUTPUT=addrix.rc -P GenerateResourceScript.cmake
#
# ICONS (the directory of the icon files) and VERSION are optional; the
# template refers to them as @ICONS@, @VERSION_NUMBERS@ (1,0,5,0) and
# @VERSION_TEXT@ (1.0.5.0), and to the string table as @STRING_ENTRIES@.
#
# The data has one entry per line, ID<TAB>TEXT, with the escapes \n, \t, \\
# and \" in TEXT; empty lines and lines starting with # are skipped.

foreach(name STRINGS TEMPLATE OUTPUT)
    if(NOT DEFINED ${name})
        message(FATAL_ERROR "GenerateResourceScript: ${name} is not set")
    endif()
endforeach()

# Characters that CMake lists would take apart, parked while the lines are
# split and put back in each line.
string(ASCII 1 semicolon)
string(ASCII 2 open_bracket)
string(ASCII 3 close_bracket)
string(ASCII 4 backslash_pair)

file(READ "${STRINGS}" content)
string(REPLACE ";" "${semicolon}" content "${content}")
string(REPLACE "[" "${open_bracket}" content "${content}")
string(REPLACE "]" "${close_bracket}" content "${content}")
string(REPLACE "\n" ";" lines "${content}")

set(entries "")
set(line_number 0)
foreach(line IN LISTS lines)
    math(EXPR line_number "${line_number} + 1")
    string(REGEX REPLACE "\r$" "" line "${line}")
    if(line STREQUAL "" OR line MATCHES "^#")
        continue()
    endif()
    string(FIND "${line}" "\t" tab)
    if(tab LESS 1)
        message(FATAL_ERROR "${STRINGS}:${line_number}: expected ID<TAB>TEXT")
    endif()
    string(SUBSTRING "${line}" 0 ${tab} id)
    math(EXPR text_start "${tab} + 1")
    string(SUBSTRING "${line}" ${text_start} -1 text)
    if(NOT id MATCHES "^[0-9]+$" OR id GREATER 65535)
        message(FATAL_ERROR "${STRINGS}:${line_number}: '${id}' is not a string id")
    endif()

    # The resource compiler reads the same escapes as the data, except that
    # a quote inside a string is written twice. (The table's own generator
    # refuses any other backslash or quote.)
    string(REPLACE "\\\\" "${backslash_pair}" text "${text}")
    string(REPLACE "\\\"" "\"\"" text "${text}")
    string(REPLACE "${backslash_pair}" "\\\\" text "${text}")
    string(REPLACE "${semicolon}" ";" text "${text}")
    string(REPLACE "${open_bracket}" "[" text "${text}")
    string(REPLACE "${close_bracket}" "]" text "${text}")
    string(APPEND entries "    ${id}, \"${text}\"\n")
endforeach()
set(STRING_ENTRIES "${entries}")

string(REPLACE "." ";" numbers "${VERSION}")
list(APPEND numbers 0 0 0 0)
list(SUBLIST numbers 0 4 numbers)
list(JOIN numbers "," VERSION_NUMBERS)
list(JOIN numbers "." VERSION_TEXT)

configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
