# Installing the game and its Debian package. The files that go with the
# executable are made here at build time; where they go is decided at
# install time by install_files.cmake, once the prefix is known.

set(SHEEPFALL_APP_ID io.github.sheepfall.Sheepfall)
set(SHEEPFALL_RELEASE_DATE 2026-12-08)                     # of PROJECT_VERSION
set(SHEEPFALL_RELEASE_STAMP "Tue, 08 Dec 2026 12:00:00 +0000") # the same day, for the changelog
set(SHEEPFALL_MAINTAINER "The Sheepfall developers <sheepfall@example.org>")
set(SHEEPFALL_COPYRIGHT "2026 The Sheepfall developers")
set(PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)

# A licence text as a field of a Debian copyright file: every line indented
# by one blank, empty lines as " .".
function(copyright_field text out)
  string(REGEX REPLACE "\n+$" "" text "${text}")
  string(REPLACE "\n\n" "\n.\n" text "${text}")
  string(REPLACE "\n" "\n " text "${text}")
  set(${out} " ${text}" PARENT_SCOPE)
endfunction()

file(READ ${CMAKE_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Permission is hereby granted.*OTHER DEALINGS IN THE\nSOFTWARE\\." mit "${licence}")
copyright_field("${mit}" SHEEPFALL_MIT_TEXT)
file(READ ${CMAKE_SOURCE_DIR}/tools/assetgen/font-notice.txt notice)
copyright_field("${notice}" SHEEPFALL_FONT_TEXT)

configure_file(packaging/sheepfall.6.in ${PACKAGING_DIR}/sheepfall.6 @ONLY)
configure_file(packaging/changelog.in ${PACKAGING_DIR}/changelog @ONLY)
configure_file(packaging/copyright.in ${PACKAGING_DIR}/copyright @ONLY)
configure_file(packaging/metainfo.xml.in ${PACKAGING_DIR}/${SHEEPFALL_APP_ID}.metainfo.xml @ONLY)

# Debian keeps manual pages and changelogs compressed, without time stamps.
foreach(name sheepfall.6 changelog)
  add_custom_command(OUTPUT ${PACKAGING_DIR}/${name}.gz
    COMMAND gzip -9nkf ${PACKAGING_DIR}/${name}
    DEPENDS ${PACKAGING_DIR}/${name})
  list(APPEND compressed ${PACKAGING_DIR}/${name}.gz)
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${compressed})

install(CODE "
  set(SHEEPFALL_EXECUTABLE \"$<TARGET_FILE:sheepfall>\")
  set(SHEEPFALL_BUILD_DIR \"${CMAKE_BINARY_DIR}\")
  set(SHEEPFALL_SOURCE_DIR \"${CMAKE_SOURCE_DIR}\")
  set(SHEEPFALL_APP_ID \"${SHEEPFALL_APP_ID}\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/install_files.cmake\")")

# `make package`: build/sheepfall_VERSION_ARCH.deb, installed under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sheepfall)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
# The install step must see the prefix itself (/usr), not a staging folder,
# to choose the Debian layout for games: DESTDIR stages it instead.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_CONTACT "${SHEEPFALL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "first-person shooter: stop the sheep falling from the sky")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "You stand on a hilly landscape, walk with the arrow keys, look around with
the mouse and shoot the sheep that drop out of the sky before they land.
Every sheep that reaches the ground costs one of your five lives. Three
levels with their own landscapes and music, a radar, and a drop-down console
that sets everything.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
