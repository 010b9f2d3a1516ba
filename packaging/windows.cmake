# The Windows build: sheepfall.exe with its icon, manifest and version, the
# data a native build made (byte for byte the Linux build's), and the
# portable zip. Configured by `make windows` with cmake/mingw-w64.cmake.

set(SHEEPFALL_COPYRIGHT "2026 The Sheepfall developers")
set(SHEEPFALL_NATIVE_BUILD "" CACHE PATH "The Linux build folder whose data/ and icons/ ship")
if(NOT EXISTS "${SHEEPFALL_NATIVE_BUILD}/data.stamp" OR
   NOT EXISTS "${SHEEPFALL_NATIVE_BUILD}/icons/sheepfall.ico")
  message(FATAL_ERROR "SHEEPFALL_NATIVE_BUILD must name a Linux build folder with its data made "
                      "(make windows does this)")
endif()

set(WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)
set(SHEEPFALL_ICON ${SHEEPFALL_NATIVE_BUILD}/icons/sheepfall.ico)
set(SHEEPFALL_MANIFEST ${WINDOWS_DIR}/sheepfall.manifest)
configure_file(packaging/windows/sheepfall.manifest.in ${SHEEPFALL_MANIFEST} @ONLY)
configure_file(packaging/windows/sheepfall.rc.in ${WINDOWS_DIR}/sheepfall.rc @ONLY)
set_source_files_properties(${WINDOWS_DIR}/sheepfall.rc PROPERTIES
  OBJECT_DEPENDS "${SHEEPFALL_ICON};${SHEEPFALL_MANIFEST}")

# A GUI program (no console window of its own); the C and C++ runtimes and
# the thread library are linked in, so only the game's libraries are DLLs.
add_executable(sheepfall WIN32 src/app/main.cpp ${WINDOWS_DIR}/sheepfall.rc)
target_link_libraries(sheepfall PRIVATE SDL2::SDL2main sheepfall_core)
target_link_options(sheepfall PRIVATE -static)

add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/data.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/data
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${SHEEPFALL_NATIVE_BUILD}/data ${CMAKE_BINARY_DIR}/data
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/data.stamp
  DEPENDS ${SHEEPFALL_NATIVE_BUILD}/data.stamp
  COMMENT "Copying the game data from ${SHEEPFALL_NATIVE_BUILD}")
add_custom_target(gamedata ALL DEPENDS ${CMAKE_BINARY_DIR}/data.stamp)
add_dependencies(sheepfall gamedata)

# build-windows/Sheepfall-VERSION-win64.zip: the executable, the DLLs its
# imports need, the data, the README and every shipped library's notice.
set(SHEEPFALL_ZIP ${CMAKE_BINARY_DIR}/Sheepfall-${PROJECT_VERSION}-win64.zip)
add_custom_target(zip
  COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/windows-zip.sh $<TARGET_FILE:sheepfall>
          ${CMAKE_BINARY_DIR}/data ${SHEEPFALL_WINDOWS_DEPS} ${CMAKE_SOURCE_DIR} ${SHEEPFALL_ZIP}
  DEPENDS sheepfall gamedata
  COMMENT "Making ${SHEEPFALL_ZIP}")

# build-windows/Sheepfall-VERSION-setup.exe (CPack's NSIS generator, run by
# `make windows` after the zip): the zip's folder installed into Program
# Files with a Start-menu entry and an uninstaller (Uninstall.exe beside the
# game, which tells the game to keep the player's files in %APPDATA%).
# Windows' "Apps" list shows its name, version, publisher and icon.
install(DIRECTORY ${CMAKE_BINARY_DIR}/Sheepfall-${PROJECT_VERSION}-win64/ DESTINATION .)
set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME Sheepfall)
set(CPACK_PACKAGE_VENDOR "The Sheepfall developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sheepfall, a first-person shooter: stop the sheep falling")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGE_FILE_NAME Sheepfall-${PROJECT_VERSION}-setup)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Sheepfall)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Sheepfall)
set(CPACK_PACKAGE_EXECUTABLES sheepfall Sheepfall)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_DISPLAY_NAME Sheepfall)
set(CPACK_NSIS_PACKAGE_NAME Sheepfall)
set(CPACK_NSIS_INSTALLED_ICON_NAME sheepfall.exe)
set(CPACK_NSIS_MUI_ICON ${SHEEPFALL_ICON})
set(CPACK_NSIS_MUI_UNIICON ${SHEEPFALL_ICON})
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MODIFY_PATH OFF)
# A 64-bit installer (NSIS's default is a 32-bit one) for a 64-bit game:
# it writes the 64-bit registry view and runs where only 64-bit programs can.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
include(CPack)
