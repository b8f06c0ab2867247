# Where the desktop program and its files go on installation, the help page beside the built program, and the
# Debian package. Only the desktop build has anything to install.

if(NOT PAGEWING_BUILD_DESKTOP)
    return()
endif()

include(GNUInstallDirs)

# The program looks for its help page beside itself before it looks in the installed data folder, so a build
# tree runs with its help as it is. A target of its own, rather than a step after linking, keeps the copy
# current when only the page changes; the stamp stands for the copy, whose folder only a generator expression
# can name.
add_custom_command(
    OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/pagewing_help_page.stamp
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PAGEWING_HELP_PAGE} $<TARGET_FILE_DIR:pagewing>
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/pagewing_help_page.stamp
    DEPENDS ${PAGEWING_HELP_PAGE}
    COMMENT "Placing the help page beside pagewing"
    VERBATIM)
add_custom_target(pagewing_help_page ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/pagewing_help_page.stamp)
add_dependencies(pagewing pagewing_help_page)

install(TARGETS pagewing RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(PAGEWING_BUILD_MAN_PAGES)
    include(PagewingManPages)
    pagewing_add_man_pages(pagewing pagewing-gateway-sim)
endif()
# Qt's project setup gives every program an $ORIGIN search path for libraries installed beside it. Ours link only
# static libraries of their own and the system's shared ones, and a packaged program must not carry a search path.
set_target_properties(pagewing pagewing-gateway-sim PROPERTIES INSTALL_RPATH "")
install(FILES ${PROJECT_SOURCE_DIR}/data/${PAGEWING_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/${PAGEWING_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Every size the artwork has, and nothing else that may lie in the folder.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/icons/hicolor
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
    FILES_MATCHING
    PATTERN "${PAGEWING_APP_ID}.png"
    PATTERN "${PAGEWING_APP_ID}.svg")
install(FILES ${PAGEWING_HELP_PAGE} DESTINATION ${CMAKE_INSTALL_DATADIR}/pagewing)
# Debian wants the licence as share/doc/<package>/copyright; any other system reads it there just as well.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pagewing
    RENAME copyright)
# And a changelog, compressed without a name or time stamp, under the name Debian gives the changelog of a package
# with a revision of its own (1.87-1).
set(PAGEWING_CHANGELOG ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz)
add_custom_command(
    OUTPUT ${PAGEWING_CHANGELOG}
    COMMAND ${GZIP} -9 --no-name --stdout ${PROJECT_SOURCE_DIR}/data/debian/changelog > ${PAGEWING_CHANGELOG}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/debian/changelog
    COMMENT "Compressing the Debian changelog"
    VERBATIM)
add_custom_target(pagewing_changelog ALL DEPENDS ${PAGEWING_CHANGELOG})
install(FILES ${PAGEWING_CHANGELOG} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pagewing)
# Where lintian looks for the tags a package declares not to apply to it, each with its reason.
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
    RENAME pagewing)

set(CPACK_PACKAGE_NAME pagewing)
set(CPACK_PACKAGE_VENDOR Lumenfold)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Lumenfold <pagewing@lumenfold.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://lumenfold.example/pagewing)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "send SMS text messages through an OSCAR network's SMS gateway")
# Debian shows the long description as written, so its lines are kept short here.
set(CPACK_PACKAGE_DESCRIPTION [[
Lumenfold Pagewing signs in to an OSCAR instant-messaging network with your
account number (UIN) and password and hands short text messages to the
network's SMS gateway, which passes them on to mobile phones and reports
whether each was delivered. It is one small window with a tray icon: a
mobile number box that remembers every number used, a sender name, the
message and a status list.

The package also holds pagewing-gateway-sim, a local simulator of the login
server, the service server and the SMS gateway, for trying the program
without a real network.]])
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The build type carries debug information; a package does not.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Lumenfold <pagewing@lumenfold.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${CPACK_PACKAGE_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Help Topics and the links in the About window open through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/PagewingPackage.cmake)

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "^${PROJECT_SOURCE_DIR}/build[^/]*/" "/\\\\.cache/" "~$")

include(CPack)
