# kitloom-cli for the Linux systems that take no .deb (SteamOS, Arch, Fedora and others): a
# tarball (scripts/package-portable.sh makes it) with the program, its man page and
# completions, the file type and file action, the license and notices, and install.sh, which
# installs them for the user alone.
add_executable(kitloom-cli-portable EXCLUDE_FROM_ALL cli/main.cpp)
target_link_libraries(kitloom-cli-portable PRIVATE kitloom_cli_lib)
# libstdc++ and libgcc linked in: the program needs only the C library, of the version it
# was built with or newer (2.36 on Debian 12, whose static libstdc++ asks for it).
target_link_options(kitloom-cli-portable PRIVATE -static-libstdc++ -static-libgcc -s)
# zlib too (patch/CMakeLists.txt): not every system has the version it was built with.
set_target_properties(kitloom-cli-portable PROPERTIES KITLOOM_STATIC_ZLIB ON)
set_target_properties(kitloom-cli-portable PROPERTIES OUTPUT_NAME kitloom-cli
                                                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/portable)

set(KITLOOM_PORTABLE_NAME kitloom-cli-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
set(KITLOOM_TARBALL ${CMAKE_BINARY_DIR}/${KITLOOM_PORTABLE_NAME}.tar.gz)
add_custom_target(portable
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/release-tarball.py --source ${PROJECT_SOURCE_DIR}
          --output ${KITLOOM_TARBALL} --folder ${KITLOOM_PORTABLE_NAME}
          install.sh=${PROJECT_SOURCE_DIR}/packaging/install.sh
          bin/kitloom-cli=$<TARGET_FILE:kitloom-cli-portable>
          share/man/man1/kitloom-cli.1.gz=${KITLOOM_MAN_PAGE}
          share/bash-completion/completions/kitloom-cli=${KITLOOM_BASH_COMPLETION}
          share/zsh/site-functions/_kitloom-cli=${KITLOOM_ZSH_COMPLETION}
          share/fish/vendor_completions.d/kitloom-cli.fish=${KITLOOM_FISH_COMPLETION}
          share/applications/kitloom-cli-install.desktop=${PROJECT_SOURCE_DIR}/packaging/kitloom-cli-install.desktop
          share/mime/packages/kitloom-cli.xml=${PROJECT_SOURCE_DIR}/packaging/kitloom-cli.xml
          README.txt=${PROJECT_SOURCE_DIR}/docs/README-linux.txt
          LICENSE=${PROJECT_SOURCE_DIR}/LICENSE THIRD-PARTY-NOTICES.txt=${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt
  DEPENDS kitloom-cli-portable man-page completions
  VERBATIM)
