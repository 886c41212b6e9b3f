#pragma once

#include <string>

namespace kitloom {

// Jersey names and years are bytes of the Windows ANSI code page 1252, in tables and in
// patches alike; a terminal speaks its own encoding. A Windows console program gets and
// prints text in the ANSI code page: UTF-8 where Windows honours kitloom-cli.exe's manifest,
// and otherwise the system's, whose bytes both conversions keep as they are.

// Whether file names, arguments, the environment and the console's text are UTF-8 for this
// program: on Linux, and in kitloom-cli.exe where Windows gives it the UTF-8 code page.
// kitloom.exe keeps the system's code page, and hands a patch's names to it as they are.
#if defined(_WIN32) && defined(KITLOOM_PROGRAM_COPY)
constexpr bool systemTextIsUtf8() { return false; }
#else
bool systemTextIsUtf8();
#endif

// For its life, the terminal shows the program's text as the program writes it: on Linux
// in the locale's encoding, in a Windows console in the ANSI code page (the console's own
// is put back after).
class TerminalSession {
public:
    TerminalSession();
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;
    ~TerminalSession();

private:
    unsigned previousOutputCodePage_ = 0;
};

// The encoding of this process's terminal, from its locale (set with setlocale first); a
// plain "C" locale is taken as UTF-8, as most terminals are.
#if defined(_WIN32) && defined(KITLOOM_PROGRAM_COPY)
inline std::string terminalEncoding() { return {}; }  // the program's text is ANSI, as it is
#else
std::string terminalEncoding();
#endif

// `typed` in `encoding` as code page 1252. False when a character has no place in that
// code page (or `typed` is not valid in `encoding`): `unconvertible` then holds it as typed.
bool toCodePage1252(const std::string& typed, const std::string& encoding, std::string& converted,
                    std::string& unconvertible);

// Code page 1252 bytes as `encoding` shows them; the five bytes that code page leaves
// undefined show as '?'.
std::string fromCodePage1252(const std::string& bytes, const std::string& encoding);

}  // namespace kitloom
