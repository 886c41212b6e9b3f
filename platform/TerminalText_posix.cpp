#include "platform/TerminalText.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <clocale>
#include <vector>

namespace kitloom {

namespace {

constexpr const char* kCodePage1252 = "WINDOWS-1252";

// One iconv conversion, closed when it goes.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter()
    {
        if (valid())
            iconv_close(handle_);
    }
    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts one piece; false at a character it cannot take, `in` then pointing at it.
    bool convert(const char*& in, std::size_t& inLeft, std::string& out)
    {
        std::vector<char> buffer(inLeft * 4 + 16);
        char* input = const_cast<char*>(in);
        char* output = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t result = iconv(handle_, &input, &inLeft, &output, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        in = input;
        return result != static_cast<std::size_t>(-1);
    }

private:
    iconv_t handle_;
};

// The byte length of the UTF-8 character that starts at `lead`.
std::size_t utf8Length(unsigned char lead)
{
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

bool isUtf8(const std::string& encoding) { return encoding == "UTF-8" || encoding == "utf-8" || encoding == "UTF8"; }

}  // namespace

TerminalSession::TerminalSession() { std::setlocale(LC_CTYPE, ""); }
TerminalSession::~TerminalSession() = default;

// Desktops write file names in UTF-8, and a patch's names are found so.
bool systemTextIsUtf8() { return true; }

std::string terminalEncoding()
{
    const std::string codeset = nl_langinfo(CODESET);
    return codeset.empty() || codeset == "ANSI_X3.4-1968" ? "UTF-8" : codeset;
}

bool toCodePage1252(const std::string& typed, const std::string& encoding, std::string& converted,
                    std::string& unconvertible)
{
    converted.clear();
    unconvertible.clear();
    Converter converter(kCodePage1252, encoding.c_str());
    if (!converter.valid()) {
        converted = typed;
        return true;
    }
    const char* in = typed.data();
    std::size_t left = typed.size();
    if (converter.convert(in, left, converted))
        return true;
    const std::size_t length = isUtf8(encoding) ? utf8Length(static_cast<unsigned char>(*in)) : 1;
    unconvertible.assign(in, std::min(length, left));
    return false;
}

std::string fromCodePage1252(const std::string& bytes, const std::string& encoding)
{
    Converter converter(encoding.c_str(), kCodePage1252);
    if (!converter.valid())
        return bytes;
    std::string shown;
    const char* in = bytes.data();
    std::size_t left = bytes.size();
    while (!converter.convert(in, left, shown) && left > 0) {
        shown += '?';
        ++in;
        --left;
    }
    return shown;
}

}  // namespace kitloom
