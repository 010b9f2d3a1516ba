# Runs at install time (cmake --install, make install, CPack), when the
# prefix is known: under /usr the Debian layout for games, elsewhere the
# usual bin/ and share/. The game finds its data from its executable's place
# by the same two rules (src/app/find_folders.cpp).

string(REGEX REPLACE "/+$" "" prefix "${CMAKE_INSTALL_PREFIX}")
if(prefix STREQUAL "/usr")
  set(bin_dir ${prefix}/games)
  set(game_dir ${prefix}/share/games/sheepfall)
else()
  set(bin_dir ${prefix}/bin)
  set(game_dir ${prefix}/share/sheepfall)
endif()
set(share ${prefix}/share)
set(made ${SHEEPFALL_BUILD_DIR}/packaging)

file(INSTALL DESTINATION ${bin_dir} TYPE EXECUTABLE FILES ${SHEEPFALL_EXECUTABLE})
if(CMAKE_INSTALL_DO_STRIP)
  # As Debian's own packaging strips: symbols, the compiler's comment and notes.
  execute_process(COMMAND strip --remove-section=.comment --remove-section=.note
                          --strip-unneeded "$ENV{DESTDIR}${bin_dir}/sheepfall"
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
file(INSTALL DESTINATION ${game_dir} TYPE DIRECTORY FILES ${SHEEPFALL_BUILD_DIR}/data
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(INSTALL DESTINATION ${share}/applications TYPE FILE
     FILES ${SHEEPFALL_SOURCE_DIR}/packaging/sheepfall.desktop)
foreach(size 48 128 256)
  file(INSTALL DESTINATION ${share}/icons/hicolor/${size}x${size}/apps TYPE FILE
       FILES ${SHEEPFALL_BUILD_DIR}/icons/sheepfall-${size}.png RENAME sheepfall.png)
endforeach()
file(INSTALL DESTINATION ${share}/metainfo TYPE FILE
     FILES ${made}/${SHEEPFALL_APP_ID}.metainfo.xml)
file(INSTALL DESTINATION ${share}/man/man6 TYPE FILE FILES ${made}/sheepfall.6.gz)
file(INSTALL DESTINATION ${share}/doc/sheepfall TYPE FILE
     FILES ${made}/copyright ${made}/changelog.gz)
