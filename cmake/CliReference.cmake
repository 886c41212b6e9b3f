# What the Linux packages carry beside kitloom-cli: its man page and its completions for bash,
# zsh and fish. kitloom-cli-reference makes them from the command-line definition kitloom-cli
# itself parses with, so that they cannot drift from the program or from its --help.
add_executable(kitloom-cli-reference tools/cli-reference/CliReference.cpp)
target_link_libraries(kitloom-cli-reference PRIVATE kitloom_cli_lib)
# A tool of the build, run once: compiled for speed of building (-O1 still allows the
# release build's _FORTIFY_SOURCE).
target_compile_options(kitloom-cli-reference PRIVATE -O1)

# The date the man page carries: SOURCE_DATE_EPOCH when set, else the last commit's, so that
# two clones of one commit make the same page.
set(KITLOOM_SOURCE_DATE "$ENV{SOURCE_DATE_EPOCH}")
if(NOT KITLOOM_SOURCE_DATE)
  execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct OUTPUT_VARIABLE KITLOOM_SOURCE_DATE
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT KITLOOM_SOURCE_DATE)
  set(KITLOOM_SOURCE_DATE 0)
endif()

set(KITLOOM_COMPLETIONS_DIR ${CMAKE_BINARY_DIR}/completions)
set(KITLOOM_BASH_COMPLETION ${KITLOOM_COMPLETIONS_DIR}/kitloom-cli)
set(KITLOOM_ZSH_COMPLETION ${KITLOOM_COMPLETIONS_DIR}/_kitloom-cli)
set(KITLOOM_FISH_COMPLETION ${KITLOOM_COMPLETIONS_DIR}/kitloom-cli.fish)
add_custom_command(
  OUTPUT ${KITLOOM_BASH_COMPLETION} ${KITLOOM_ZSH_COMPLETION} ${KITLOOM_FISH_COMPLETION}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KITLOOM_COMPLETIONS_DIR}
  COMMAND kitloom-cli-reference bash ${KITLOOM_BASH_COMPLETION}
  COMMAND kitloom-cli-reference zsh ${KITLOOM_ZSH_COMPLETION}
  COMMAND kitloom-cli-reference fish ${KITLOOM_FISH_COMPLETION}
  DEPENDS kitloom-cli-reference
  VERBATIM)
add_custom_target(completions ALL DEPENDS ${KITLOOM_BASH_COMPLETION} ${KITLOOM_ZSH_COMPLETION}
                                          ${KITLOOM_FISH_COMPLETION})

# The man page: kitloom-cli's help and each command's, then FILES, ENVIRONMENT, EXIT STATUS
# and EXAMPLES from packaging/kitloom-cli.h2m.
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)
set(KITLOOM_MAN_PAGE ${CMAKE_BINARY_DIR}/kitloom-cli.1.gz)
add_custom_command(
  OUTPUT ${KITLOOM_MAN_PAGE}
  COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${KITLOOM_SOURCE_DATE} ${HELP2MAN} --no-info --section=1
          "--name=custom jerseys for Dunkmere's saved seasons"
          --include=${PROJECT_SOURCE_DIR}/packaging/kitloom-cli.h2m --output=${CMAKE_BINARY_DIR}/kitloom-cli.1
          $<TARGET_FILE:kitloom-cli-reference>
  COMMAND ${GZIP} -9nf ${CMAKE_BINARY_DIR}/kitloom-cli.1
  DEPENDS kitloom-cli-reference ${PROJECT_SOURCE_DIR}/packaging/kitloom-cli.h2m
  VERBATIM)
add_custom_target(man-page ALL DEPENDS ${KITLOOM_MAN_PAGE})
