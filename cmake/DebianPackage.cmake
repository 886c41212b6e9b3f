# kitloom-cli for Linux players: the program, its man page made from its own --help (so
# the two never differ), the *.jer file type and the "Install with Kitloom" file action.
include(GNUInstallDirs)
install(TARGETS kitloom-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/kitloom-cli.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES packaging/kitloom-cli-install.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

find_program(HELP2MAN help2man)
find_program(GZIP gzip)
if(HELP2MAN AND GZIP)
  set(KITLOOM_MAN_PAGE ${CMAKE_BINARY_DIR}/kitloom-cli.1.gz)
  add_custom_command(
    OUTPUT ${KITLOOM_MAN_PAGE}
    COMMAND ${HELP2MAN} --no-info --section=1 --name=custom\ jerseys\ for\ Dunkmere's\ saved\ seasons
            --output=${CMAKE_BINARY_DIR}/kitloom-cli.1 $<TARGET_FILE:kitloom-cli>
    COMMAND ${GZIP} -9nf ${CMAKE_BINARY_DIR}/kitloom-cli.1
    DEPENDS kitloom-cli
    VERBATIM)
  add_custom_target(man-page ALL DEPENDS ${KITLOOM_MAN_PAGE})
  install(FILES ${KITLOOM_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kitloom-cli)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kitloom developers <kitloom@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "custom jerseys for Dunkmere's saved seasons, from a terminal")
set(CPACK_PACKAGE_DESCRIPTION
    "kitloom-cli adds custom jerseys to the saved seasons of Dunkmere, found in the player's Wine\n"
    "prefix (WINEPREFIX, ~/.wine, Steam, Lutris, Bottles, PlayOnLinux or Heroic), and installs\n"
    ".jer jersey patches, also from a file manager with 'Install with Kitloom'.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libnotify-bin")
set(CPACK_STRIP_FILES ON)
include(CPack)
