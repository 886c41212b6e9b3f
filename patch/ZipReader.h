#pragma once

#include "patch/ZipEntry.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kitloom {

class OpenFile;

// Takes an entry's bytes, a piece of at most kChunkSize at a time; false asks to stop.
using ZipSink = std::function<bool(const char* data, std::size_t size)>;

// A zip archive opened for reading: its central directory read and checked at once, its
// entries inflated one at a time on request. Nothing it reads is trusted: every size,
// offset and name is checked against the file before it is used, and memory stays bounded
// by the directory and two pieces of kChunkSize, whatever an entry claims or holds.
class ZipReader {
public:
    explicit ZipReader(std::unique_ptr<OpenFile> file);
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;
    ~ZipReader();

    // None when the directory was read; otherwise why not, and there are no entries.
    const ZipProblem& problem() const { return problem_; }
    // In the directory's order, folders too.
    const std::vector<ZipEntry>& entries() const { return entries_; }

    // Gives `entry`'s bytes to `sink`, inflated or, when stored, as they are, checking their
    // count and CRC-32 as they go: an entry that inflates past its stated size stops there
    // (SizeMismatch), before the piece that passes it reaches the sink. Refused before a byte
    // is read: an encrypted entry, a method other than stored and deflated, a stated size
    // over `maxSize` (EntryTooLarge) or over what is left of kMaxZipInflated (ArchiveTooLarge),
    // which every byte given to a sink counts against. A sink's false gives Stopped. An
    // archive whose directory could not be read answers with that problem.
    ZipProblem read(const ZipEntry& entry, std::uint64_t maxSize, const ZipSink& sink);
    // The same, into `bytes`, for entries small enough to hold whole; on trouble `bytes` is
    // left empty.
    ZipProblem readWhole(const ZipEntry& entry, std::uint64_t maxSize, std::string& bytes);

private:
    ZipProblem copyStored(const ZipEntry& entry, std::uint64_t dataOffset, const ZipSink& sink);
    ZipProblem inflate(const ZipEntry& entry, std::uint64_t dataOffset, const ZipSink& sink);

    std::unique_ptr<OpenFile> file_;
    ZipProblem problem_;
    std::vector<ZipEntry> entries_;
    std::uint64_t dataEnd_ = 0;   // the directory's offset: all entries' data lies before it
    std::uint64_t inflated_ = 0;  // bytes given to sinks so far
};

}  // namespace kitloom
