#include "platform/TerminalText.h"

#include <windows.h>

#include <string>

namespace kitloom {

namespace {

constexpr UINT kCodePage1252 = 1252;

// Only UTF-8 is ever asked for by name here (JSON, or the UTF-8 code page); else the text is ANSI.
bool isUtf8(const std::string& encoding) { return encoding == "UTF-8"; }

std::wstring wide(const std::string& text, UINT codePage, DWORD flags)
{
    if (text.empty())
        return {};
    const int length = MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring converted(static_cast<std::size_t>(length), L'\0');
    if (length > 0)
        MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), converted.data(), length);
    return converted;
}

std::string narrow(const std::wstring& text, UINT codePage, BOOL* usedDefault)
{
    if (text.empty())
        return {};
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int length = WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, usedDefault);
    std::string converted(static_cast<std::size_t>(length), '\0');
    if (length > 0)
        WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), converted.data(), length,
                            nullptr, usedDefault);
    return converted;
}

}  // namespace

TerminalSession::TerminalSession() : previousOutputCodePage_(GetConsoleOutputCP())
{
    // Names and years print as ANSI bytes; a console shows its OEM code page otherwise.
    if (previousOutputCodePage_ != 0)
        SetConsoleOutputCP(GetACP());
}

TerminalSession::~TerminalSession()
{
    if (previousOutputCodePage_ != 0)
        SetConsoleOutputCP(previousOutputCodePage_);
}

#ifndef KITLOOM_PROGRAM_COPY
bool systemTextIsUtf8() { return GetACP() == CP_UTF8; }
#endif

// The console program's arguments and output are in the ANSI code page.
#ifndef KITLOOM_PROGRAM_COPY
std::string terminalEncoding() { return systemTextIsUtf8() ? "UTF-8" : std::string(); }
#endif

bool toCodePage1252(const std::string& typed, const std::string& encoding, std::string& converted,
                    std::string& unconvertible)
{
    unconvertible.clear();
    if (!isUtf8(encoding)) {
        converted = typed;
        return true;
    }
    // Character by character, so that the first one the code page lacks can be named.
    converted.clear();
    const std::wstring characters = wide(typed, CP_UTF8, 0);
    for (wchar_t character : characters) {
        BOOL usedDefault = FALSE;
        const std::string one = narrow(std::wstring(1, character), kCodePage1252, &usedDefault);
        if (usedDefault || one.size() != 1) {
            unconvertible = narrow(std::wstring(1, character), CP_UTF8, nullptr);
            return false;
        }
        converted += one;
    }
    return true;
}

std::string fromCodePage1252(const std::string& bytes, const std::string& encoding)
{
    if (!isUtf8(encoding))
        return bytes;
    std::wstring characters = wide(bytes, kCodePage1252, 0);
    // The code page leaves 0x81, 0x8D, 0x8F, 0x90 and 0x9D undefined; Windows passes them
    // through as control characters.
    for (wchar_t& character : characters) {
        if (character == 0x81 || character == 0x8D || character == 0x8F || character == 0x90 || character == 0x9D)
            character = L'?';
    }
    return narrow(characters, CP_UTF8, nullptr);
}

}  // namespace kitloom
