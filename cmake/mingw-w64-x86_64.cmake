# Cross build for 64-bit Windows with the MinGW-w64 compilers of the posix
# thread model (the win32 model lacks std::mutex and std::thread), linked
# statically so that the programs run without the compiler's DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ADDRIX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ADDRIX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ADDRIX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ADDRIX_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ADDRIX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
