# What a Linux installation holds (the Debian package installs this): the
# program, the tools under names of their own, the menu entry, AppStream
# metadata, icons made from the icons' data, and manual pages in English
# and Japanese.
include(GNUInstallDirs)
set(TENJI_APP_ID io.github.tenjiprint.tenjiprint)
set(TENJI_PACKAGING ${PROJECT_SOURCE_DIR}/packaging/linux)

install(TARGETS tenjiprint RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Generic names such as make-nrk would clash with other programs in /usr/bin.
install(PROGRAMS $<TARGET_FILE:virtual-embosser> DESTINATION ${CMAKE_INSTALL_BINDIR}
        RENAME tenjiprint-virtual-embosser)
install(PROGRAMS $<TARGET_FILE:make-nrk> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME tenjiprint-make-nrk)

install(FILES ${TENJI_PACKAGING}/${TENJI_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TENJI_PACKAGING}/${TENJI_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(TENJI_ICONS ${CMAKE_BINARY_DIR}/icons)
add_custom_command(OUTPUT ${TENJI_ICONS}/256x256/apps/tenjiprint.png
                   COMMAND make-icons --png ${TENJI_ICONS}
                   DEPENDS make-icons
                   COMMENT "Icons at 16 to 256 pixels")
add_custom_target(linux-icons ALL DEPENDS ${TENJI_ICONS}/256x256/apps/tenjiprint.png)
install(DIRECTORY ${TENJI_ICONS}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

set(TENJI_MAN_PAGES tenjiprint tenjiprint-virtual-embosser tenjiprint-make-nrk)
if(TENJI_BUILD_SERVER)
  install(TARGETS tenjiprint-server RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The unit is installed, not enabled: the package leaves starting it to the user.
  install(FILES ${TENJI_PACKAGING}/tenjiprint-server.service DESTINATION /lib/systemd/system)
  list(APPEND TENJI_MAN_PAGES tenjiprint-server)
endif()
foreach(page ${TENJI_MAN_PAGES})
  install(FILES ${TENJI_PACKAGING}/man/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${TENJI_PACKAGING}/man/ja/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
endforeach()
