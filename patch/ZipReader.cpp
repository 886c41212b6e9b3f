#include "patch/ZipReader.h"

#include "patch/Crc32.h"
#include "patch/ZipDirectory.h"
#include "patch/ZipEnd.h"
#include "patch/ZipFormat.h"
#include "patch/ZlibStreams.h"
#include "platform/FileSystem.h"

#include <algorithm>

namespace kitloom {
namespace {

using namespace zipformat;

ZipProblem trouble(ZipTrouble kind, const ZipEntry& entry, std::string reason = {})
{
    return {kind, entry.name, 0, std::move(reason)};
}

}  // namespace

ZipReader::ZipReader(std::unique_ptr<OpenFile> file) : file_(std::move(file))
{
    std::uint64_t fileSize = 0;
    if (!file_) {
        problem_ = {ZipTrouble::CannotRead, {}, 0, "no file"};
        return;
    }
    if (const Done sized = file_->size(fileSize); !sized) {
        problem_ = {ZipTrouble::CannotRead, {}, 0, sized.reason()};
        return;
    }
    ZipEnd end;
    problem_ = findZipEnd(*file_, fileSize, end);
    if (!problem_)
        problem_ = readZipDirectory(*file_, end, entries_);
    if (problem_)
        entries_.clear();
    dataEnd_ = end.directoryOffset;
}

ZipReader::~ZipReader() = default;

ZipProblem ZipReader::read(const ZipEntry& entry, std::uint64_t maxSize, const ZipSink& sink)
{
    if (problem_)
        return problem_;
    if (entry.encrypted)
        return trouble(ZipTrouble::Encrypted, entry);
    if (entry.method != kMethodStored && entry.method != kMethodDeflated) {
        ZipProblem problem = trouble(ZipTrouble::UnsupportedMethod, entry);
        problem.method = entry.method;
        return problem;
    }
    if (entry.size > maxSize)
        return trouble(ZipTrouble::EntryTooLarge, entry);
    if (entry.size > kMaxZipInflated - inflated_)
        return trouble(ZipTrouble::ArchiveTooLarge, entry);
    std::uint64_t dataOffset = 0;
    if (ZipProblem problem = locateZipData(*file_, entry, dataEnd_, dataOffset))
        return problem;
    return entry.method == kMethodStored ? copyStored(entry, dataOffset, sink) : inflate(entry, dataOffset, sink);
}

ZipProblem ZipReader::readWhole(const ZipEntry& entry, std::uint64_t maxSize, std::string& bytes)
{
    bytes.clear();
    ZipProblem problem = read(entry, maxSize, [&bytes](const char* data, std::size_t size) {
        bytes.append(data, size);
        return true;
    });
    if (problem)
        bytes.clear();
    return problem;
}

ZipProblem ZipReader::copyStored(const ZipEntry& entry, std::uint64_t dataOffset, const ZipSink& sink)
{
    if (entry.compressedSize != entry.size)
        return trouble(ZipTrouble::SizeMismatch, entry);
    std::string piece(static_cast<std::size_t>(std::min<std::uint64_t>(entry.size, kChunkSize)), '\0');
    Crc32 crc;
    ZipProblem problem;
    forEachChunk(entry.size, [&](std::uint64_t offset, std::size_t count) {
        if (const Done read = file_->readAt(dataOffset + offset, piece.data(), count); !read) {
            problem = trouble(ZipTrouble::CannotRead, entry, read.reason());
            return false;
        }
        crc.add(piece.data(), count);
        inflated_ += count;
        if (!sink(piece.data(), count)) {
            problem = trouble(ZipTrouble::Stopped, entry);
            return false;
        }
        return true;
    });
    if (!problem && crc.value() != entry.crc)
        problem = trouble(ZipTrouble::CrcMismatch, entry);
    return problem;
}

ZipProblem ZipReader::inflate(const ZipEntry& entry, std::uint64_t dataOffset, const ZipSink& sink)
{
    Inflater inflater;
    if (!inflater.ready())
        return trouble(ZipTrouble::CannotRead, entry, "zlib could not start inflating");
    z_stream& stream = inflater.stream();
    std::string input(kChunkSize, '\0');
    std::string output(kChunkSize, '\0');
    std::uint64_t consumed = 0;
    std::uint64_t produced = 0;
    Crc32 crc;
    for (int status = Z_OK; status != Z_STREAM_END;) {
        if (stream.avail_in == 0 && consumed < entry.compressedSize) {
            const std::size_t count = static_cast<std::size_t>(
                std::min<std::uint64_t>(kChunkSize, entry.compressedSize - consumed));
            if (const Done read = file_->readAt(dataOffset + consumed, input.data(), count); !read)
                return trouble(ZipTrouble::CannotRead, entry, read.reason());
            consumed += count;
            stream.next_in = reinterpret_cast<Bytef*>(input.data());
            stream.avail_in = static_cast<uInt>(count);
        }
        // Room for one byte past the stated size at most: that byte proves the size a lie.
        const std::uint64_t left = entry.size - produced;
        const std::size_t room = left < kChunkSize ? static_cast<std::size_t>(left) + 1 : kChunkSize;
        stream.next_out = reinterpret_cast<Bytef*>(output.data());
        stream.avail_out = static_cast<uInt>(room);
        status = ::inflate(&stream, Z_NO_FLUSH);
        if (status == Z_BUF_ERROR) {
            // No progress: the entry's deflated bytes end before their stream does.
            return trouble(produced < entry.size ? ZipTrouble::SizeMismatch : ZipTrouble::Damaged, entry);
        }
        if (status != Z_OK && status != Z_STREAM_END)
            return trouble(ZipTrouble::Damaged, entry, zlibWords(stream, status));
        const std::size_t count = room - stream.avail_out;
        if (count > left)
            return trouble(ZipTrouble::SizeMismatch, entry);
        produced += count;
        crc.add(output.data(), count);
        inflated_ += count;
        if (count > 0 && !sink(output.data(), count))
            return trouble(ZipTrouble::Stopped, entry);
    }
    if (produced != entry.size)
        return trouble(ZipTrouble::SizeMismatch, entry);
    if (crc.value() != entry.crc)
        return trouble(ZipTrouble::CrcMismatch, entry);
    return {};
}

}  // namespace kitloom
