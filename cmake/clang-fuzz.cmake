# Linux with Debian's clang 14, for fuzzing: every object of the build carries libFuzzer's
# coverage hooks and the AddressSanitizer and UBSan checks, so a fuzz program sees into the
# libraries it links, and any fault stops it. Only the fuzz programs link libFuzzer's own
# main (-fsanitize=fuzzer, tests/CMakeLists.txt); the rest get the sanitizers' runtimes alone.
# -Werror stays; clang alone flags a member that only the Windows side reads
# (TerminalSession), so that one warning stays a warning here.
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_CXX_FLAGS_INIT "-O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all \
-fno-omit-frame-pointer -Wno-error=unused-private-field")
