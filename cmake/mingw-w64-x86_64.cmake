# Build for 64-bit Windows with the MinGW-w64 compilers of the posix thread
# model (the win32 model lacks std::mutex and std::thread), linked
# statically so that the programs run without the compiler's DLLs. Debian
# names these compilers with a -posix suffix; toolchains that only have the
# posix model (MSYS2 on Windows) name them plainly.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ADDRIX_MINGW_TRIPLET x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${ADDRIX_MINGW_TRIPLET}-gcc-posix ${ADDRIX_MINGW_TRIPLET}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${ADDRIX_MINGW_TRIPLET}-g++-posix ${ADDRIX_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${ADDRIX_MINGW_TRIPLET}-windres windres REQUIRED)

# A cross build looks for libraries and headers only in the target's tree.
if(EXISTS /usr/${ADDRIX_MINGW_TRIPLET})
    set(CMAKE_FIND_ROOT_PATH /usr/${ADDRIX_MINGW_TRIPLET})
    set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
    set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
    set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
    set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
endif()

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
