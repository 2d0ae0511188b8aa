# What the Linux layer links against.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBMNL REQUIRED IMPORTED_TARGET libmnl)
target_link_libraries(addrix_core PUBLIC PkgConfig::LIBMNL ${CMAKE_DL_LIBS})
