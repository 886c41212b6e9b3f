# kitloom-cli as a Debian package (scripts/package-deb.sh makes it with CPack): the program,
# its man page and completions, the *.jer file type and the "Install with Kitloom" action.
include(GNUInstallDirs)

install(TARGETS kitloom-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KITLOOM_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${KITLOOM_BASH_COMPLETION} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${KITLOOM_ZSH_COMPLETION} DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES ${KITLOOM_FISH_COMPLETION} DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
install(FILES packaging/kitloom-cli.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES packaging/kitloom-cli-install.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kitloom-cli)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kitloom developers <kitloom@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "custom jerseys for Dunkmere's saved seasons, from a terminal")
set(CPACK_PACKAGE_DESCRIPTION
    "kitloom-cli adds custom jerseys to the saved seasons of Dunkmere, found in the player's Wine\n"
    "prefix (WINEPREFIX, ~/.wine or a Steam prefix), and installs .jer jersey patches, also from\n"
    "a file manager with 'Install with Kitloom'.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libnotify-bin")
set(CPACK_STRIP_FILES ON)
include(CPack)
