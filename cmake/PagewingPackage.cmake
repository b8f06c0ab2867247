# Read by cpack once for each kind of package it makes (CPACK_PROJECT_CONFIG_FILE), not by the build.
# The Debian package installs under /usr; a source archive keeps the source tree's own layout.
if(CPACK_GENERATOR STREQUAL "DEB")
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
else()
    unset(CPACK_PACKAGING_INSTALL_PREFIX)
endif()
