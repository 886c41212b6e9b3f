#include "patch/ZipEnd.h"

#include "patch/ArchiveKind.h"
#include "patch/ZipBytes.h"
#include "patch/ZipFormat.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <string>

namespace kitloom {
namespace {

using namespace zipformat;
using zipbytes::read16;
using zipbytes::read32;
using zipbytes::read64;

ZipProblem trouble(ZipTrouble kind, std::string reason = {}) { return {kind, {}, 0, std::move(reason)}; }

ZipProblem readAt(OpenFile& file, std::uint64_t offset, std::string& bytes)
{
    const Done read = file.readAt(offset, bytes.data(), bytes.size());
    return read ? ZipProblem{} : trouble(ZipTrouble::CannotRead, read.reason());
}

// The offset in `tail` of the end record: the last one whose comment ends the file, else
// the last one whose comment fits in it (bytes a download tool appended after the archive).
std::size_t endRecordIn(std::string_view tail)
{
    std::size_t fitting = std::string_view::npos;
    for (std::size_t at = tail.size() < kEndSize ? 0 : tail.size() - kEndSize + 1; at-- > 0;) {
        if (read32(tail, at) != kEndSignature)
            continue;
        const std::size_t end = at + kEndSize + read16(tail, at + kEndCommentLength);
        if (end == tail.size())
            return at;
        if (end < tail.size() && fitting == std::string_view::npos)
            fitting = at;
    }
    return fitting;
}

// The Zip64 end record that the locator right before the end record at `endOffset` points
// at, when there is one: its values replace those of the classic record, whose fields may
// hold no more than markers.
ZipProblem readZip64End(OpenFile& file, std::uint64_t endOffset, ZipEnd& end, bool& oneDisk)
{
    if (endOffset < kZip64LocatorSize)
        return {};
    std::string locator(kZip64LocatorSize, '\0');
    if (ZipProblem problem = readAt(file, endOffset - kZip64LocatorSize, locator))
        return problem;
    if (read32(locator, 0) != kZip64LocatorSignature)
        return {};
    if (read32(locator, kZip64LocatorEndDisk) != 0 || read32(locator, kZip64LocatorDisks) > 1)
        return trouble(ZipTrouble::Split);
    const std::uint64_t recordOffset = read64(locator, kZip64LocatorEndOffset);
    if (recordOffset > endOffset - kZip64LocatorSize || endOffset - kZip64LocatorSize - recordOffset < kZip64EndSize)
        return trouble(ZipTrouble::Damaged);
    std::string record(kZip64EndSize, '\0');
    if (ZipProblem problem = readAt(file, recordOffset, record))
        return problem;
    if (read32(record, 0) != kZip64EndSignature)
        return trouble(ZipTrouble::Damaged);
    oneDisk = read32(record, kZip64EndDisk) == 0 && read32(record, kZip64EndDirectoryDisk) == 0 &&
              read64(record, kZip64EndEntriesOnDisk) == read64(record, kZip64EndEntries);
    end.entries = read64(record, kZip64EndEntries);
    end.directorySize = read64(record, kZip64EndDirectorySize);
    end.directoryOffset = read64(record, kZip64EndDirectoryOffset);
    end.recordsOffset = recordOffset;
    return {};
}

}  // namespace

ZipProblem findZipEnd(OpenFile& file, std::uint64_t fileSize, ZipEnd& end)
{
    std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, 4)), '\0');
    if (ZipProblem problem = readAt(file, 0, head))
        return problem;
    if (head.size() == 4 && read32(head, 0) == kSpannedSignature)
        return trouble(ZipTrouble::Split);

    std::string tail(static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kEndSearchBytes)), '\0');
    if (ZipProblem problem = readAt(file, fileSize - tail.size(), tail))
        return problem;
    const std::size_t at = endRecordIn(tail);
    if (at == std::string_view::npos)
        return trouble(archiveKindOf(head) == ArchiveKind::Zip ? ZipTrouble::Incomplete : ZipTrouble::NotAZip);

    const std::string_view record = std::string_view(tail).substr(at, kEndSize);
    end.entries = read16(record, kEndEntries);
    end.directorySize = read32(record, kEndDirectorySize);
    end.directoryOffset = read32(record, kEndDirectoryOffset);
    end.recordsOffset = fileSize - tail.size() + at;
    bool oneDisk = read16(record, kEndDisk) == 0 && read16(record, kEndDirectoryDisk) == 0 &&
                   read16(record, kEndEntriesOnDisk) == read16(record, kEndEntries);
    if (ZipProblem problem = readZip64End(file, end.recordsOffset, end, oneDisk))
        return problem;
    if (!oneDisk)
        return trouble(ZipTrouble::Split);
    if (end.entries > kMaxZipEntries || end.directorySize > kMaxZipDirectoryBytes)
        return trouble(ZipTrouble::TooManyEntries);
    if (end.directoryOffset > end.recordsOffset || end.directorySize > end.recordsOffset - end.directoryOffset)
        return trouble(ZipTrouble::Incomplete);
    return {};
}

}  // namespace kitloom
