#include "patch/ZipNames.h"

#include "patch/Crc32.h"
#include "patch/ZipExtraFields.h"
#include "patch/ZipFormat.h"

#include <algorithm>

namespace kitloom {
namespace {

using namespace zipformat;

// Code page 437's upper half; its lower half is ASCII.
constexpr char16_t kCodePage437[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The bytes of the UTF-8 sequence that `lead` starts; 0 when no sequence starts so.
std::size_t utf8Length(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// Well-formed UTF-8: no stray continuation byte, no overlong form, no surrogate, nothing
// past U+10FFFF.
bool isUtf8(std::string_view text)
{
    // The least code point that needs a sequence of each length.
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    for (std::size_t at = 0; at < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = utf8Length(lead);
        if (length == 0 || text.size() - at < length)
            return false;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t next = 1; next < length; ++next) {
            const unsigned char byte = static_cast<unsigned char>(text[at + next]);
            if ((byte & 0xC0) != 0x80)
                return false;
            code = code << 6 | (byte & 0x3F);
        }
        if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        at += length;
    }
    return true;
}

void appendUtf8(std::string& text, char32_t code)
{
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | code >> 6);
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | code >> 12);
        text += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::string utf8FromCodePage437(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const unsigned char byte = static_cast<unsigned char>(c);
        appendUtf8(text, byte < 0x80 ? char32_t{byte} : char32_t{kCodePage437[byte - 0x80]});
    }
    return text;
}

std::string zipEntryName(std::string_view stored, std::uint16_t flags, std::uint16_t versionMadeBy,
                         std::string_view extraFields)
{
    if (const auto unicodePath = findExtraField(extraFields, kUnicodePathExtraId);
        unicodePath && unicodePath->size() >= kUnicodePathName &&
        static_cast<unsigned char>((*unicodePath)[0]) == kUnicodePathVersion) {
        Crc32 crc;
        crc.add(stored.data(), stored.size());
        if (zipbytes::read32(*unicodePath, kUnicodePathCrc) == crc.value())
            return std::string(unicodePath->substr(kUnicodePathName));
    }
    const bool madeOnUnix = versionMadeBy >> kHostShift == kHostUnix;
    if ((flags & kFlagUtf8) || isAscii(stored) || (madeOnUnix && isUtf8(stored)))
        return std::string(stored);
    return utf8FromCodePage437(stored);
}

}  // namespace kitloom
