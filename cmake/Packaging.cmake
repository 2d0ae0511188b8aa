# What the packages hold and how CPack builds them: on Linux a Debian package
# (cpack --preset deb), on Windows an NSIS installer and a portable zip
# (cpack --preset windows). Only the component "addrix" is packaged, so that
# the install rules of anything else in the build (GoogleTest built from
# source) stay out.
include(GNUInstallDirs)

# The version users see: three numbers, as the Debian package and the
# installer name it; the version records carry all four.
set(ADDRIX_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(ADDRIX_PACKAGE_SUMMARY "Gives a TARVIK network device its first IPv4 address")
set(ADDRIX_PACKAGE_CONTACT "Tarvikon <addrix@tarvikon.example>")

# The programs of this build: the dialog where the build has one (Qt on
# Linux; a Win32 dialog on Windows when it is built) and the command line.
# A build without either (the core alone) has nothing to package.
set(ADDRIX_PROGRAMS)
foreach(program addrix addrix-cli)
    if(TARGET ${program})
        list(APPEND ADDRIX_PROGRAMS ${program})
    endif()
endforeach()
if(NOT ADDRIX_PROGRAMS)
    return()
endif()

if(WIN32)
    # Everything in the installation folder itself: a portable zip then runs
    # where it is unpacked.
    install(TARGETS ${ADDRIX_PROGRAMS} RUNTIME DESTINATION . COMPONENT addrix)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . COMPONENT addrix)
else()
    set(linux_resources ${PROJECT_SOURCE_DIR}/resources/linux)
    set(package_files ${CMAKE_CURRENT_BINARY_DIR}/package)
    set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/addrix)

    install(TARGETS ${ADDRIX_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT addrix)
    install(FILES ${linux_resources}/addrix.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT addrix)
    install(FILES ${linux_resources}/com.tarvikon.addrix.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT addrix)
    foreach(size 16 22 24 32 48 64 128 256)
        install(FILES ${linux_resources}/icons/addrix-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME addrix.png COMPONENT addrix)
    endforeach()
    install(FILES ${PROJECT_SOURCE_DIR}/README.md ${linux_resources}/copyright
        DESTINATION ${doc_dir} COMPONENT addrix)
    install(FILES ${linux_resources}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME addrix COMPONENT addrix)

    # Manual pages and the changelog go in compressed, without time stamps,
    # as Debian's policy asks.
    set(compressed_files)
    foreach(page addrix addrix-cli)
        configure_file(${linux_resources}/${page}.1.in ${package_files}/${page}.1 @ONLY)
        list(APPEND compressed_files ${package_files}/${page}.1)
    endforeach()
    configure_file(${linux_resources}/changelog ${package_files}/changelog COPYONLY)
    list(APPEND compressed_files ${package_files}/changelog)
    set(compressed_outputs)
    foreach(file IN LISTS compressed_files)
        add_custom_command(OUTPUT ${file}.gz
            COMMAND gzip -9 -n -c ${file} > ${file}.gz
            DEPENDS ${file}
            VERBATIM)
        list(APPEND compressed_outputs ${file}.gz)
    endforeach()
    add_custom_target(addrix_compressed_files ALL DEPENDS ${compressed_outputs})
    install(FILES ${package_files}/addrix.1.gz ${package_files}/addrix-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT addrix)
    install(FILES ${package_files}/changelog.gz DESTINATION ${doc_dir} COMPONENT addrix)
endif()

# Everything the packages take from the build: build it before cpack.
add_custom_target(package_contents)
add_dependencies(package_contents ${ADDRIX_PROGRAMS})
if(TARGET addrix_compressed_files)
    add_dependencies(package_contents addrix_compressed_files)
endif()

set(CPACK_PACKAGE_NAME Addrix)
set(CPACK_PACKAGE_VENDOR Tarvikon)
set(CPACK_PACKAGE_VERSION ${ADDRIX_PACKAGE_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${ADDRIX_PACKAGE_SUMMARY})
set(CPACK_PACKAGE_CONTACT ${ADDRIX_PACKAGE_CONTACT})
set(CPACK_PACKAGE_INSTALL_DIRECTORY Addrix)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Addrix;addrix;/")
set(CPACK_STRIP_FILES ON)

# Debian: dpkg-shlibdeps computes the libraries' packages; the maintainer
# scripts make the group and give the programs their rights.
set(CPACK_DEBIAN_PACKAGE_NAME addrix)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "adduser, libcap2-bin")
# The summary line comes first; CPack indents these lines below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Addrix binds the address to the device's MAC address in the host's
neighbour (ARP) table, pings until the freshly restarted device answers,
removes the entry again and reports the result. The package holds the
dialog addrix and the command line addrix-cli.

Members of the system group addrix may run both; they get the network
capabilities they need (CAP_NET_RAW, CAP_NET_ADMIN) as file capabilities.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/resources/linux/postinst
    ${PROJECT_SOURCE_DIR}/resources/linux/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Windows: a 64-bit installer (the template in cmake/nsis names the target)
# with a Start-menu entry for the dialog, and a zip of the same files.
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/nsis)
set(CPACK_SYSTEM_NAME win64)
set(CPACK_NSIS_PACKAGE_NAME "TARVIK Addrix")
set(CPACK_NSIS_DISPLAY_NAME "TARVIK Addrix")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/windows/addrix.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/windows/addrix.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME addrix-cli.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
if(TARGET addrix)
    set(CPACK_PACKAGE_EXECUTABLES addrix "TARVIK Addrix")
    set(CPACK_NSIS_INSTALLED_ICON_NAME addrix.exe)
endif()
# The installer's version record (file properties), in four numbers.
set(CPACK_NSIS_ADDRIX_VERSION_RECORD ${PROJECT_VERSION})
set(CPACK_NSIS_ADDRIX_COPYRIGHT "Copyright (C) 2026 Tarvikon")

if(WIN32)
    set(CPACK_GENERATOR NSIS ZIP)
else()
    set(CPACK_GENERATOR DEB)
endif()
include(CPack)
