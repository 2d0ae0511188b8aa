# What the Windows layer links against, and the resources every program of
# the build carries: string table, version record and icons.

# printf and its kin with C99 formats, as the format checks assume.
target_compile_definitions(addrix_core PUBLIC __USE_MINGW_ANSI_STDIO=1)
# The IP helper library is not linked: it is loaded at run time.
target_link_libraries(addrix_core PUBLIC icmp ws2_32 shell32 user32 version)

enable_language(RC)
include(${PROJECT_SOURCE_DIR}/cmake/ResourceScript.cmake)
addrix_resource_script(${CMAKE_CURRENT_BINARY_DIR}/addrix.rc
    TEMPLATE ${PROJECT_SOURCE_DIR}/resources/windows/addrix.rc.in
    STRINGS ${ADDRIX_STRING_TABLE}
    DEPENDS ${PROJECT_SOURCE_DIR}/resources/windows/addrix.ico ${PROJECT_SOURCE_DIR}/resources/windows/about.ico)

add_library(addrix_resources OBJECT ${CMAKE_CURRENT_BINARY_DIR}/addrix.rc)
# The resource compiler takes none of the compilers' warning options.
set_property(TARGET addrix_resources PROPERTY COMPILE_OPTIONS "")
# Every program that links the core carries the resources.
target_link_libraries(addrix_core INTERFACE $<TARGET_OBJECTS:addrix_resources>)
add_dependencies(addrix_core addrix_resources)
