# Runs the string-table generator over small tables: well-formed ones must
# give the expected entries, malformed ones must be refused with a reason.
# Each failing case reports an error; any error fails the script.
#
#   cmake -DGENERATOR=<GenerateStringTable.cmake> -DWORK_DIR=<dir> -P GenerateStringTableTest.cmake

cmake_minimum_required(VERSION 3.25)

string(ASCII 9 tab)
file(MAKE_DIRECTORY "${WORK_DIR}")
set(input "${WORK_DIR}/strings.txt")
set(output "${WORK_DIR}/StringTableData.cpp")

function(run_generator table resultVar errorVar)
    file(WRITE "${input}" "${table}")
    file(REMOVE "${output}")
    execute_process(COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -P ${GENERATOR}
                    RESULT_VARIABLE result ERROR_VARIABLE error)
    set(${resultVar} "${result}" PARENT_SCOPE)
    # CMake wraps its messages by length; undo that before matching.
    string(REGEX REPLACE "[ \n]+" " " error "${error}")
    set(${errorVar} "${error}" PARENT_SCOPE)
endfunction()

# Well-formed: the table, then the entry line the source must hold.
function(expect_entry label table entry)
    run_generator("${table}" result error)
    if(NOT result EQUAL 0)
        message(SEND_ERROR "${label}: refused: ${error}")
    else()
        file(READ "${output}" source)
        string(FIND "${source}" "${entry}" found)
        if(found EQUAL -1)
            message(SEND_ERROR "${label}: '${entry}' not in:\n${source}")
            endif()
    endif()
endfunction()

# Malformed: the table, then a word of the reason.
function(expect_refused label table reason)
    run_generator("${table}" result error)
    if(result EQUAL 0)
        message(SEND_ERROR "${label}: accepted")
    elseif(NOT error MATCHES "${reason}")
        message(SEND_ERROR "${label}: reason lacks '${reason}': ${error}")
    endif()
endfunction()

expect_entry("escapes pass through" "1${tab}a\\nb\\tc\\\\d\\\"e\n" "{1, \"a\\nb\\tc\\\\d\\\"e\"},")
expect_entry("separators and brackets kept" "2${tab}A=x;B=[y;z]\n" "{2, \"A=x;B=[y;z]\"},")
expect_entry("comment skipped" "# 3${tab}no\n4${tab}yes\n" "{4, \"yes\"},")
expect_entry("trailing space kept" "5${tab}end \n" "{5, \"end \"},")
expect_entry("empty text" "6${tab}\n7${tab}x\n" "{6, \"\"},")
expect_entry("last line without line feed" "8${tab}last" "{8, \"last\"},")
expect_entry("carriage returns dropped" "9${tab}crlf\r\n10${tab}x\r\n" "{9, \"crlf\"},")
expect_entry("highest id" "65535${tab}top\n" "{65535, \"top\"},")

expect_refused("no tab" "1 text\n" "a tab and the text")
expect_refused("empty line" "1${tab}a\n\n2${tab}b\n" "strings.txt:2:")
expect_refused("unknown escape" "1${tab}a\\x\n" "only the escapes")
expect_refused("lone backslash at the end" "1${tab}a\\\n" "only the escapes")
expect_refused("unescaped double quote" "1${tab}say \"hi\"\n" "double quote")
expect_refused("raw tab in the text" "1${tab}a${tab}b\n" "tab or carriage return")
expect_refused("duplicate id" "1${tab}a\n1${tab}b\n" "occurs twice")
expect_refused("id too large" "65536${tab}a\n" "plain number")
expect_refused("id with leading zero" "01${tab}a\n" "plain number")
expect_refused("only comments" "# nothing\n" "no entries")
