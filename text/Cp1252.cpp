#include "text/Cp1252.h"

#include <algorithm>
#include <array>

namespace kitloom {

namespace {

// 0x80-0x9F, the one block where 1252 is not Latin-1; the undefined bytes keep their own value.
constexpr std::array<char32_t, 32> kHighControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t characterOf(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F ? kHighControlBlock[byte - 0x80] : byte;
}

std::optional<unsigned char> byteOf(char32_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<unsigned char>(character);
    const auto found = std::find(kHighControlBlock.begin(), kHighControlBlock.end(), character);
    if (found == kHighControlBlock.end())
        return std::nullopt;
    return static_cast<unsigned char>(0x80 + (found - kHighControlBlock.begin()));
}

void appendUtf8(std::string& out, char32_t character)
{
    if (character < 0x80) {
        out += static_cast<char>(character);
    } else if (character < 0x800) {
        out += static_cast<char>(0xC0 | (character >> 6));
        out += static_cast<char>(0x80 | (character & 0x3F));
    } else {
        // 1252 reaches no further than U+2122: three bytes are the most it needs.
        out += static_cast<char>(0xE0 | (character >> 12));
        out += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (character & 0x3F));
    }
}

// What a sequence's first byte tells: how long it is, its bits of the character, and the
// smallest character that length may carry (anything less is an overlong form).
struct SequenceStart {
    std::size_t length;
    char32_t bits;
    char32_t smallest;
};

std::optional<SequenceStart> sequenceStartedBy(unsigned char lead)
{
    if (lead < 0x80)
        return SequenceStart{1, lead, 0};
    if ((lead & 0xE0) == 0xC0)
        return SequenceStart{2, lead & 0x1Fu, 0x80};
    if ((lead & 0xF0) == 0xE0)
        return SequenceStart{3, lead & 0x0Fu, 0x800};
    if ((lead & 0xF8) == 0xF0)
        return SequenceStart{4, lead & 0x07u, 0x10000};
    return std::nullopt;  // a continuation byte, or a lead byte no valid sequence has
}

// The character that starts at `at`, which moves past it; none for a malformed, overlong or
// cut-off sequence. Surrogates and values past U+10FFFF come out as they are: no 1252 byte
// stands for them, so the caller refuses them all the same.
std::optional<char32_t> nextCharacter(std::string_view utf8, std::size_t& at)
{
    const auto start = sequenceStartedBy(static_cast<unsigned char>(utf8[at]));
    if (!start || utf8.size() - at < start->length)
        return std::nullopt;
    char32_t character = start->bits;
    for (std::size_t i = 1; i < start->length; ++i) {
        const auto next = static_cast<unsigned char>(utf8[at + i]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        character = (character << 6) | (next & 0x3Fu);
    }
    if (character < start->smallest)
        return std::nullopt;
    at += start->length;
    return character;
}

}  // namespace

std::string cp1252ToUtf8(std::string_view bytes)
{
    std::string utf8;
    utf8.reserve(bytes.size());
    for (char byte : bytes)
        appendUtf8(utf8, characterOf(static_cast<unsigned char>(byte)));
    return utf8;
}

std::optional<std::string> utf8ToCp1252(std::string_view utf8)
{
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const auto character = nextCharacter(utf8, at);
        if (!character)
            return std::nullopt;
        const auto byte = byteOf(*character);
        if (!byte)
            return std::nullopt;
        bytes += static_cast<char>(*byte);
    }
    return bytes;
}

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace kitloom
