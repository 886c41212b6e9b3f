#include "patch/PatchFormat.h"

#include "core/JerseyLists.h"
#include "core/LittleEndian.h"
#include "text/AsciiCase.h"
#include "text/ControlByte.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kitloom {

using namespace patchformat;

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Windows opens a device instead of a file by these names, whatever extension follows:
// CON, PRN, AUX, NUL, and COM or LPT with a digit 1 to 9.
constexpr char kDeviceNames[][4] = {"CON", "PRN", "AUX", "NUL", "COM", "LPT"};
constexpr std::size_t kFirstNumberedDevice = 4;

bool isDeviceName(std::string_view name)
{
    std::string_view stem = name.substr(0, name.find('.'));
    const bool numbered = stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9';
    if (numbered)
        stem.remove_suffix(1);
    for (std::size_t i = 0; i < std::size(kDeviceNames); ++i) {
        if ((i >= kFirstNumberedDevice) == numbered && equalsIgnoringAsciiCase(stem, kDeviceNames[i]))
            return true;
    }
    return false;
}

// A text field's bytes in `spec`.
const char* textIn(const JerseySpec& spec, const TrailerField& field)
{
    return reinterpret_cast<const char*>(&spec) + field.textOffset;
}
char* textIn(JerseySpec& spec, const TrailerField& field) { return reinterpret_cast<char*>(&spec) + field.textOffset; }

}  // namespace

std::string encodePatch(const std::string& prefix, const JerseySpec& spec)
{
    const std::string name(spec.jerseyName.data(), kJerseyNameLength);
    std::string bytes = "\r\n" + prefix + name + kImageSuffix + "\r\n" + prefix + name + kNumberImageSuffix + "\r\n";
    for (const TrailerField& field : kTrailerFields) {
        if (field.code) {
            for (std::uint8_t byte : littleendian::uint32Bytes(static_cast<std::uint32_t>(spec.*field.code)))
                bytes.push_back(static_cast<char>(byte));
        } else {
            bytes.append(textIn(spec, field), field.size);
        }
    }
    return bytes;
}

PatchHeader readPatchHeader(std::string_view fileStart)
{
    const std::string_view bytes = fileStart.substr(0, kHeaderBytesRead);
    PatchHeader header;
    std::size_t& position = header.bytes;
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        position = kByteOrderMark.size();
    for (std::string& line : header.lines) {
        while (line.size() < kMaxLineRead && position < bytes.size()) {
            // As a text-mode read sees it: CR LF is one LF, a lone CR stays.
            if (bytes.substr(position, 2) == "\r\n")
                ++position;
            const char c = bytes[position++];
            if (c == '\n')
                break;
            line.push_back(c);
        }
        // The line is a C string to everything that uses it.
        line.resize(std::strlen(line.c_str()));
    }
    return header;
}

JerseySpec decodeTrailer(std::string_view trailer)
{
    JerseySpec spec;
    if (trailer.size() != kTrailerSize)
        return spec;
    for (const TrailerField& field : kTrailerFields) {
        if (field.code)
            spec.*field.code = static_cast<std::int32_t>(littleendian::readUInt32(trailer.data() + field.offset));
        else
            std::memcpy(textIn(spec, field), trailer.data() + field.offset, field.size);
    }
    return spec;
}

bool trailerCodesInRange(std::string_view trailer)
{
    if (trailer.size() != kTrailerSize)
        return false;
    return std::all_of(std::begin(kTrailerFields), std::end(kTrailerFields), [&](const TrailerField& field) {
        const std::uint32_t value = littleendian::readUInt32(trailer.data() + field.offset);
        return !field.code || (value >= field.lowest && value <= field.highest);
    });
}

bool isPlainName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find_first_of("\\/:*?\"<>|") == std::string::npos && !isDeviceName(name);
}

bool hasControlCharacter(std::string_view text)
{
    // Through a lambda the test inlines; through the function's address, kitloom.exe grows.
    return std::any_of(text.begin(), text.end(), [](char c) { return isControlByte(c); });
}

bool isImageName(const std::string& name)
{
    return isPlainName(name) && endsWithIgnoringAsciiCase(name, patchformat::kImageSuffix);
}

}  // namespace kitloom
