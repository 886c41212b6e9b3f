# kitloom-cli as a Debian package (scripts/package-deb.sh makes it with CPack): the program,
# its man page and completions, the *.jer file type and the "Install with Kitloom" action, and
# the copyright file and changelog that Debian asks for.
include(GNUInstallDirs)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

install(TARGETS kitloom-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KITLOOM_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${KITLOOM_BASH_COMPLETION} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${KITLOOM_ZSH_COMPLETION} DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES ${KITLOOM_FISH_COMPLETION} DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
install(FILES packaging/kitloom-cli.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES packaging/kitloom-cli-install.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME kitloom-cli)

# The package's version is the program's with a Debian revision, and the changelog's latest
# entry must be about it; that entry's signer is the maintainer.
set(KITLOOM_DEBIAN_REVISION 1)
set(KITLOOM_DEBIAN_VERSION ${PROJECT_VERSION}-${KITLOOM_DEBIAN_REVISION})
file(STRINGS packaging/changelog.Debian KITLOOM_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT KITLOOM_CHANGELOG_TOP MATCHES "^kitloom-cli \\(${KITLOOM_DEBIAN_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog.Debian: its first entry is not about ${KITLOOM_DEBIAN_VERSION} "
                      "(it begins \"${KITLOOM_CHANGELOG_TOP}\"); add an entry for this version")
endif()
file(STRINGS packaging/changelog.Debian KITLOOM_CHANGELOG_SIGNER REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX REPLACE "^ -- (.*>)  .*$" "\\1" KITLOOM_MAINTAINER "${KITLOOM_CHANGELOG_SIGNER}")

set(KITLOOM_DOC_FILES ${CMAKE_BINARY_DIR}/debian-doc)
add_custom_command(
  OUTPUT ${KITLOOM_DOC_FILES}/changelog.Debian.gz ${KITLOOM_DOC_FILES}/copyright
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KITLOOM_DOC_FILES}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/changelog.Debian ${KITLOOM_DOC_FILES}
  COMMAND ${GZIP} -9nf ${KITLOOM_DOC_FILES}/changelog.Debian
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/debian-copyright.py
          --license ${PROJECT_SOURCE_DIR}/LICENSE --notices ${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt
          --output ${KITLOOM_DOC_FILES}/copyright
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog.Debian ${PROJECT_SOURCE_DIR}/cmake/debian-copyright.py
          ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt
  VERBATIM)
add_custom_target(debian-doc ALL DEPENDS ${KITLOOM_DOC_FILES}/changelog.Debian.gz ${KITLOOM_DOC_FILES}/copyright)
install(FILES ${KITLOOM_DOC_FILES}/changelog.Debian.gz ${KITLOOM_DOC_FILES}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kitloom-cli)
# The players' readme: docs/README-player.txt is the Windows zip's.
install(FILES ${PROJECT_SOURCE_DIR}/docs/README-linux.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kitloom-cli
        RENAME README)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kitloom-cli)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KITLOOM_DEBIAN_REVISION})
set(CPACK_PACKAGE_CONTACT "${KITLOOM_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "custom jerseys for Dunkmere's saved seasons, from a terminal")
# One string, lines under 80 columns: CPack puts the summary first and indents the rest.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "kitloom-cli adds custom jerseys to the saved seasons of the basketball game\n"
  "Dunkmere, played under Wine, and makes and installs the .jer jersey patches\n"
  "that players share. It finds the game in the current folder, in the folder\n"
  "it was told to remember, in WINEPREFIX or ~/.wine, and in the Wine prefixes\n"
  "of Steam and other game launchers.\n"
  "\n"
  "A file manager offers 'Install with Kitloom' for .jer files. The outcome of\n"
  "such a double-click shows as a desktop notification with notify-send\n"
  "(libnotify-bin), else in a zenity or kdialog window. Zenity or kdialog also\n"
  "asks for the game folder when it is not found. Without them the double-click\n"
  "cannot ask, and tells its outcome only in a log.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# notify-send, for install --notify; and the dialog in which the file action lets the
# player choose the game.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libnotify-bin")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "zenity | kdialog")
set(CPACK_STRIP_FILES ON)
include(CPack)
