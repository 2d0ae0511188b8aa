# Turns the string table (resources/strings.txt) into a C++ source.
#
#   cmake -DINPUT=strings.txt -DOUTPUT=StringTableData.cpp -P GenerateStringTable.cmake
#
# Each line of the input is a comment (starting with #) or an entry: a decimal
# id from 0 to 65535, one tab and the text. The text is written with the C
# escapes \n, \t, \\ and \" only, so it goes into the source unchanged as the
# contents of a string literal; anything else is refused here, so that every
# reader of the file sees the same texts.

cmake_minimum_required(VERSION 3.25)

if(NOT DEFINED INPUT OR NOT DEFINED OUTPUT)
    message(FATAL_ERROR "usage: cmake -DINPUT=<table> -DOUTPUT=<source> -P GenerateStringTable.cmake")
endif()

# CMake lists split at ";" and treat brackets specially; park those
# characters on control characters the table never holds while the text is a
# list of lines.
string(ASCII 1 semicolon)
string(ASCII 2 openBracket)
string(ASCII 3 closeBracket)
string(ASCII 13 carriageReturn)
string(ASCII 9 tab)

file(READ "${INPUT}" content)
if(content MATCHES "[${semicolon}${openBracket}${closeBracket}]")
    message(FATAL_ERROR "${INPUT}: control characters 1 to 3 are not allowed")
endif()
string(REPLACE ";" "${semicolon}" content "${content}")
string(REPLACE "[" "${openBracket}" content "${content}")
string(REPLACE "]" "${closeBracket}" content "${content}")
string(REGEX REPLACE "\n$" "" content "${content}")
string(REPLACE "\n" ";" lines "${content}")

set(entries "")
set(seenIds "")
set(lineNumber 0)
foreach(line IN LISTS lines)
    math(EXPR lineNumber "${lineNumber} + 1")
    set(where "${INPUT}:${lineNumber}")
    string(REGEX REPLACE "${carriageReturn}$" "" line "${line}")
    if(line MATCHES "^#")
        continue()
    endif()
    if(NOT line MATCHES "^([0-9]+)${tab}(.*)$")
        message(FATAL_ERROR "${where}: expected a decimal id, a tab and the text")
    endif()
    set(id "${CMAKE_MATCH_1}")
    set(text "${CMAKE_MATCH_2}")
    if(id MATCHES "^0." OR id GREATER 65535)
        message(FATAL_ERROR "${where}: the id ${id} is not a plain number from 0 to 65535")
    endif()
    if(id IN_LIST seenIds)
        message(FATAL_ERROR "${where}: the id ${id} occurs twice")
    endif()
    list(APPEND seenIds "${id}")
    if(text MATCHES "[\t\r]")
        message(FATAL_ERROR "${where}: a tab or carriage return in the text must be written as an escape")
    endif()
    # Every backslash starts one of the four escapes; a double quote is escaped.
    string(REGEX REPLACE "\\\\[nt\\\\\"]" "" unescaped "${text}")
    if(unescaped MATCHES "\\\\")
        message(FATAL_ERROR "${where}: only the escapes \\n, \\t, \\\\ and \\\" are allowed")
    endif()
    if(unescaped MATCHES "\"")
        message(FATAL_ERROR "${where}: a double quote in the text must be written as \\\"")
    endif()
    string(APPEND entries "    {${id}, \"${text}\"},\n")
endforeach()

if(entries STREQUAL "")
    message(FATAL_ERROR "${INPUT}: the table has no entries")
endif()
string(REPLACE "${semicolon}" ";" entries "${entries}")
string(REPLACE "${openBracket}" "[" entries "${entries}")
string(REPLACE "${closeBracket}" "]" entries "${entries}")

file(WRITE "${OUTPUT}" "// Generated from the string table by GenerateStringTable.cmake; do not edit.
#include \"support/StringTable.h\"

namespace {
constexpr StringEntry kEntries[] = {
${entries}};
}  // namespace

std::span<const StringEntry> BuiltInStrings() { return kEntries; }
")
