#include "patch/ZipDirectory.h"

#include "patch/ZipBytes.h"
#include "patch/ZipEnd.h"
#include "patch/ZipExtraFields.h"
#include "patch/ZipFormat.h"
#include "patch/ZipNames.h"
#include "platform/FileSystem.h"

#include <string>
#include <string_view>

namespace kitloom {
namespace {

using namespace zipformat;
using zipbytes::read16;
using zipbytes::read32;
using zipbytes::read64;

ZipProblem trouble(ZipTrouble kind, const std::string& entry = {}, std::string reason = {})
{
    return {kind, entry, 0, std::move(reason)};
}

// Fills in from the Zip64 extra field each of the fields that holds its marker, in the
// order the field keeps them; false when the field is missing or too short for them.
bool readZip64Fields(std::string_view extraFields, ZipEntry& entry, std::uint32_t& diskStart)
{
    std::uint64_t* const wide[] = {&entry.size, &entry.compressedSize, &entry.localHeaderOffset};
    const bool needed = entry.size == kZip64Marker32 || entry.compressedSize == kZip64Marker32 ||
                        entry.localHeaderOffset == kZip64Marker32 || diskStart == kZip64Marker16;
    if (!needed)
        return true;
    const auto field = findExtraField(extraFields, kZip64ExtraId);
    if (!field)
        return false;
    std::size_t at = 0;
    for (std::uint64_t* value : wide) {
        if (*value != kZip64Marker32)
            continue;
        if (field->size() - at < 8)
            return false;
        *value = read64(*field, at);
        at += 8;
    }
    if (diskStart == kZip64Marker16) {
        if (field->size() - at < 4)
            return false;
        diskStart = read32(*field, at);
    }
    return true;
}

}  // namespace

ZipProblem locateZipData(OpenFile& file, const ZipEntry& entry, std::uint64_t dataEnd, std::uint64_t& dataOffset)
{
    if (entry.localHeaderOffset > dataEnd || dataEnd - entry.localHeaderOffset < kLocalHeaderSize)
        return trouble(ZipTrouble::Incomplete, entry.name);
    std::string header(kLocalHeaderSize, '\0');
    if (const Done read = file.readAt(entry.localHeaderOffset, header.data(), header.size()); !read)
        return trouble(ZipTrouble::CannotRead, entry.name, read.reason());
    if (read32(header, 0) != kLocalHeaderSignature)
        return trouble(ZipTrouble::Damaged, entry.name);
    const std::uint64_t start = entry.localHeaderOffset + kLocalHeaderSize + read16(header, kLocalNameLength) +
                                read16(header, kLocalExtraLength);
    if (start > dataEnd || dataEnd - start < entry.compressedSize)
        return trouble(ZipTrouble::Incomplete, entry.name);
    dataOffset = start;
    return {};
}

ZipProblem readZipDirectory(OpenFile& file, const ZipEnd& end, std::vector<ZipEntry>& entries)
{
    std::string directory(static_cast<std::size_t>(end.directorySize), '\0');
    if (const Done read = file.readAt(end.directoryOffset, directory.data(), directory.size()); !read)
        return trouble(ZipTrouble::CannotRead, {}, read.reason());
    std::string_view rest = directory;
    entries.clear();
    entries.reserve(static_cast<std::size_t>(end.entries));
    for (std::uint64_t index = 0; index < end.entries; ++index) {
        if (rest.size() < kCentralHeaderSize || read32(rest, 0) != kCentralHeaderSignature)
            return trouble(ZipTrouble::Damaged);
        const std::size_t nameLength = read16(rest, kCentralNameLength);
        const std::size_t extraLength = read16(rest, kCentralExtraLength);
        const std::size_t commentLength = read16(rest, kCentralCommentLength);
        if (rest.size() - kCentralHeaderSize < nameLength + extraLength + commentLength)
            return trouble(ZipTrouble::Damaged);
        const std::string_view stored = rest.substr(kCentralHeaderSize, nameLength);
        const std::string_view extraFields = rest.substr(kCentralHeaderSize + nameLength, extraLength);

        ZipEntry entry;
        const std::uint16_t flags = read16(rest, kCentralFlags);
        entry.name = zipEntryName(stored, flags, read16(rest, kCentralVersionMadeBy), extraFields);
        entry.folder = !stored.empty() && stored.back() == '/';
        entry.method = read16(rest, kCentralMethod);
        entry.encrypted = (flags & kFlagEncrypted) || entry.method == kMethodAes;
        entry.crc = read32(rest, kCentralCrc);
        entry.compressedSize = read32(rest, kCentralCompressedSize);
        entry.size = read32(rest, kCentralSize);
        entry.localHeaderOffset = read32(rest, kCentralLocalHeaderOffset);
        std::uint32_t diskStart = read16(rest, kCentralDiskStart);
        if (!readZip64Fields(extraFields, entry, diskStart))
            return trouble(ZipTrouble::Damaged, entry.name);
        if (diskStart != 0)
            return trouble(ZipTrouble::Split, entry.name);
        std::uint64_t dataOffset = 0;
        if (ZipProblem problem = locateZipData(file, entry, end.directoryOffset, dataOffset))
            return problem;
        entries.push_back(std::move(entry));
        rest.remove_prefix(kCentralHeaderSize + nameLength + extraLength + commentLength);
    }
    return {};
}

}  // namespace kitloom
