#include "patch/PatchFormat.h"

#include "core/LittleEndian.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

namespace kitloom {

using namespace patchformat;

namespace {

void appendUInt32LE(std::string& out, std::int32_t value)
{
    for (std::uint8_t byte : littleendian::uint32Bytes(static_cast<std::uint32_t>(value)))
        out.push_back(static_cast<char>(byte));
}

std::int32_t uint32LEAt(std::string_view bytes, std::size_t offset)
{
    return static_cast<std::int32_t>(littleendian::readUInt32(bytes.data() + offset));
}

// What a text-mode read sees: CR LF becomes LF, a lone CR stays.
std::string asText(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        text.push_back(bytes[i]);
    }
    return text;
}

}  // namespace

std::string encodePatch(const std::string& prefix, const JerseySpec& spec)
{
    const std::string name(spec.jerseyName.data(), kJerseyNameLength);
    std::string bytes = "\r\n" + prefix + name + kImageSuffix + "\r\n" + prefix + name + kNumberImageSuffix + "\r\n";

    appendUInt32LE(bytes, spec.teamNumber);
    appendUInt32LE(bytes, spec.jerseyType);
    bytes.append(spec.jerseyName.data(), kJerseyNameLength);
    bytes.append(spec.year.data(), kYearLength);
    appendUInt32LE(bytes, spec.accessoryColour);
    appendUInt32LE(bytes, spec.shoe);
    appendUInt32LE(bytes, spec.sockColour);
    appendUInt32LE(bytes, spec.neckType);
    appendUInt32LE(bytes, spec.letteringType);
    return bytes;
}

PatchLines readPatchLines(std::string_view fileStart)
{
    const std::string text = asText(fileStart.substr(0, kHeaderBytesRead));
    PatchLines lines;
    std::size_t position = 0;
    for (std::string& line : lines) {
        while (line.size() < kMaxLineRead && position < text.size()) {
            char c = text[position++];
            if (c == '\n')
                break;
            line.push_back(c);
        }
        // The line is a C string to everything that uses it.
        line.resize(std::strlen(line.c_str()));
    }
    return lines;
}

JerseySpec decodeTrailer(std::string_view trailer)
{
    JerseySpec spec;
    if (trailer.size() != kTrailerSize)
        return spec;
    spec.teamNumber = uint32LEAt(trailer, kTeamNumberOffset);
    spec.jerseyType = uint32LEAt(trailer, kJerseyTypeOffset);
    std::memcpy(spec.jerseyName.data(), trailer.data() + kJerseyNameOffset, kJerseyNameLength);
    std::memcpy(spec.year.data(), trailer.data() + kYearOffset, kYearLength);
    spec.accessoryColour = uint32LEAt(trailer, kAccessoryColourOffset);
    spec.shoe = uint32LEAt(trailer, kShoeOffset);
    spec.sockColour = uint32LEAt(trailer, kSockColourOffset);
    spec.neckType = uint32LEAt(trailer, kNeckTypeOffset);
    spec.letteringType = uint32LEAt(trailer, kLetteringTypeOffset);
    return spec;
}

bool isPlainName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find_first_of("\\/:*?\"<>|") == std::string::npos;
}

bool hasControlCharacter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

bool isImageName(const std::string& name)
{
    const std::string_view suffix = patchformat::kImageSuffix;
    if (!isPlainName(name) || name.size() < suffix.size())
        return false;
    return std::equal(suffix.begin(), suffix.end(), name.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char wanted, char c) { return std::tolower(static_cast<unsigned char>(c)) == wanted; });
}

}  // namespace kitloom
