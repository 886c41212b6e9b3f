# Cross build for Windows with MinGW-w64 (posix threads: GoogleTest needs std::mutex).
# The including file sets KITLOOM_MINGW_TRIPLET and CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${KITLOOM_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KITLOOM_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KITLOOM_MINGW_TRIPLET}-windres)
# The archivers that keep link-time optimisation's symbols in the libraries' index.
set(CMAKE_AR ${KITLOOM_MINGW_TRIPLET}-gcc-ar-posix)
set(CMAKE_RANLIB ${KITLOOM_MINGW_TRIPLET}-gcc-ranlib-posix)

set(CMAKE_FIND_ROOT_PATH /usr/${KITLOOM_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest runs every test executable through this wrapper: a private Wine prefix in the build
# folder, and the Wine loader that fits the program's architecture.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
