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

// True when the form writes `code` into number field `field`: a Team Number up to 99, or a
// code of the field's list. A shoe is row + 2 from Make a Patch; a patch made by hand from
// Go!'s row + 1 installs too.
bool formWrites(const JerseyField& field, std::uint32_t code)
{
    if (!field.list)
        return code <= kHighestTeamNumber;
    const JerseyList list = *field.list;
    const auto first = static_cast<std::uint32_t>(codeOfFirstRow(list, ShoeCode::Installed));
    const auto last = static_cast<std::uint32_t>(codeOfFirstRow(list, ShoeCode::InPatch) + rowCount(list) - 1);
    return code >= first && code <= last;
}

}  // namespace

std::string encodePatch(const std::string& prefix, const JerseySpec& spec)
{
    const std::string name(spec.jerseyName.data(), kJerseyNameLength);
    std::string bytes = "\r\n" + prefix + name + kImageSuffix + "\r\n" + prefix + name + kNumberImageSuffix + "\r\n";
    std::string trailer(kTrailerSize, '\0');
    for (const JerseyField& field : kJerseyFields) {
        if (!field.inTrailer())
            continue;
        char* at = trailer.data() + field.trailer.offset;
        if (field.holdsText())
            std::memcpy(at, valueIn(spec, field).data(), field.trailer.size);
        else
            littleendian::writeUInt32(at, static_cast<std::uint32_t>(numberIn(spec, field)));
    }
    return bytes + trailer;
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
    for (const JerseyField& field : kJerseyFields) {
        if (!field.inTrailer())
            continue;
        const char* at = trailer.data() + field.trailer.offset;
        if (field.holdsText())
            std::memcpy(valueIn(spec, field).data(), at, field.trailer.size);
        else
            setNumber(spec, field, static_cast<std::int32_t>(littleendian::readUInt32(at)));
    }
    return spec;
}

bool trailerCodesInRange(std::string_view trailer)
{
    if (trailer.size() != kTrailerSize)
        return false;
    return std::all_of(std::begin(kJerseyFields), std::end(kJerseyFields), [&](const JerseyField& field) {
        return !field.inTrailer() || field.holdsText() ||
               formWrites(field, littleendian::readUInt32(trailer.data() + field.trailer.offset));
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
