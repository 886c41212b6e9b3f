#include "patch/ZipWriter.h"

#include "patch/Crc32.h"
#include "patch/ZipBytes.h"
#include "patch/ZipFormat.h"
#include "patch/ZlibStreams.h"

#include <algorithm>

namespace kitloom {
namespace {

using namespace zipformat;
using zipbytes::write16;
using zipbytes::write32;

// The classic records' limits: their largest values stand for "see Zip64".
constexpr std::uint64_t kMaxOffset = kZip64Marker32 - 1;
constexpr std::size_t kMaxEntries = kZip64Marker16 - 1;
constexpr std::size_t kMaxNameLength = 0xFFFF;

bool isAscii(const std::string& name)
{
    return std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::uint16_t versionNeeded(std::uint16_t method)
{
    return method == kMethodDeflated ? kVersionDeflate : kVersionStored;
}

template <typename Entry>
std::string localHeader(const Entry& entry)
{
    std::string header(kLocalHeaderSize, '\0');
    char* at = header.data();
    write32(at, kLocalHeaderSignature);
    write16(at + kLocalVersionNeeded, versionNeeded(entry.method));
    write16(at + kLocalFlags, entry.flags);
    write16(at + kLocalMethod, entry.method);
    write16(at + kLocalTime, kDosEpochTime);
    write16(at + kLocalDate, kDosEpochDate);
    write32(at + kLocalCrc, entry.crc);
    write32(at + kLocalCompressedSize, entry.compressedSize);
    write32(at + kLocalSize, entry.size);
    write16(at + kLocalNameLength, static_cast<std::uint16_t>(entry.name.size()));
    write16(at + kLocalExtraLength, 0);
    return header;
}

template <typename Entry>
std::string centralHeader(const Entry& entry)
{
    std::string header(kCentralHeaderSize, '\0');
    char* at = header.data();
    write32(at, kCentralHeaderSignature);
    // Made on Unix, with a Unix mode and MS-DOS attributes both: Info-ZIP's unzip takes a
    // UTF-8 name as UTF-8 only from a Unix archive, and Windows reads the MS-DOS attributes
    // whatever system made it.
    write16(at + kCentralVersionMadeBy, kHostUnix << kHostShift | kVersionDeflate);
    write16(at + kCentralVersionNeeded, versionNeeded(entry.method));
    write16(at + kCentralFlags, entry.flags);
    write16(at + kCentralMethod, entry.method);
    write16(at + kCentralTime, kDosEpochTime);
    write16(at + kCentralDate, kDosEpochDate);
    write32(at + kCentralCrc, entry.crc);
    write32(at + kCentralCompressedSize, entry.compressedSize);
    write32(at + kCentralSize, entry.size);
    write16(at + kCentralNameLength, static_cast<std::uint16_t>(entry.name.size()));
    const bool folder = !entry.name.empty() && entry.name.back() == '/';
    write32(at + kCentralExternalAttributes,
            folder ? kUnixFolderMode << kUnixModeShift | kDosFolderAttribute : kUnixFileMode << kUnixModeShift);
    write32(at + kCentralLocalHeaderOffset, entry.offset);
    return header + entry.name;
}

}  // namespace

ZipWriter::ZipWriter(OpenFile& out) : out_(out) {}

Done ZipWriter::add(const std::string& name, std::string_view bytes)
{
    return addFrom(name, bytes.size(), [bytes](std::uint64_t offset, char* buffer, std::size_t count) {
        bytes.copy(buffer, count, static_cast<std::size_t>(offset));
        return Done();
    });
}

Done ZipWriter::add(const std::string& name, OpenFile& source)
{
    std::uint64_t size = 0;
    if (!state_)
        return state_;
    if (const Done sized = source.size(size); !sized)
        return sized;
    return addFrom(name, size, [&source](std::uint64_t offset, char* buffer, std::size_t count) {
        return source.readAt(offset, buffer, count);
    });
}

Done ZipWriter::addFrom(const std::string& name, std::uint64_t size, const Source& source)
{
    if (!state_)
        return state_;
    if (finished_)
        return Done::failure("the archive is already finished");
    if (name.empty() || name.size() > kMaxNameLength)
        return Done::failure("an entry's name takes 1 to 65,535 bytes");
    if (written_.size() >= kMaxEntries)
        return Done::failure("a zip archive without Zip64 holds at most 65,534 entries");
    // Deflated or stored, the data takes at most `size` bytes.
    const std::uint64_t dataOffset = end_ + kLocalHeaderSize + name.size();
    if (size > kMaxOffset || dataOffset + size > kMaxOffset)
        return Done::failure("a zip archive without Zip64 holds less than 4 GiB");

    Written entry;
    entry.name = name;
    entry.flags = isAscii(name) ? 0 : kFlagUtf8;
    entry.method = kMethodDeflated;
    entry.offset = static_cast<std::uint32_t>(end_);
    bool shrunk = false;
    Done done = write(end_, localHeader(entry) + name);
    if (done)
        done = deflateFrom(size, source, dataOffset, entry, shrunk);
    if (done && !shrunk)
        done = storeFrom(size, source, dataOffset, entry);
    if (done)
        done = write(entry.offset, localHeader(entry));
    if (!done)
        return fail(done);
    end_ = dataOffset + entry.compressedSize;
    written_.push_back(std::move(entry));
    return {};
}

Done ZipWriter::deflateFrom(std::uint64_t size, const Source& source, std::uint64_t dataOffset, Written& entry,
                            bool& shrunk)
{
    shrunk = false;
    if (size == 0)
        return {};  // nothing deflates to fewer than no bytes
    Deflater deflater;
    if (!deflater.ready())
        return Done::failure("zlib could not start deflating");
    z_stream& stream = deflater.stream();
    std::string input(static_cast<std::size_t>(std::min<std::uint64_t>(size, kChunkSize)), '\0');
    std::string output(kChunkSize, '\0');
    Crc32 crc;
    std::uint64_t compressed = 0;
    bool larger = false;
    Done done;
    forEachChunk(size, [&](std::uint64_t offset, std::size_t count) {
        if (!(done = source(offset, input.data(), count)))
            return false;
        crc.add(input.data(), count);
        stream.next_in = reinterpret_cast<Bytef*>(input.data());
        stream.avail_in = static_cast<uInt>(count);
        const int flush = offset + count == size ? Z_FINISH : Z_NO_FLUSH;
        int status = Z_OK;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(output.data());
            stream.avail_out = static_cast<uInt>(output.size());
            status = ::deflate(&stream, flush);
            // Z_BUF_ERROR before the end only says the last call took everything.
            if (status == Z_STREAM_ERROR || (status == Z_BUF_ERROR && flush == Z_FINISH)) {
                done = Done::failure(zlibWords(stream, status));
                return false;
            }
            const std::size_t deflated = output.size() - stream.avail_out;
            // No smaller than stored, whatever follows: stored it is.
            if (deflated >= size - compressed) {
                larger = true;
                return false;
            }
            if (!(done = out_.writeAt(dataOffset + compressed, output.data(), deflated)))
                return false;
            compressed += deflated;
        } while (flush == Z_FINISH ? status != Z_STREAM_END : stream.avail_out == 0);
        return true;
    });
    if (!done || larger)
        return done;
    shrunk = true;
    entry.crc = crc.value();
    entry.compressedSize = static_cast<std::uint32_t>(compressed);
    entry.size = static_cast<std::uint32_t>(size);
    return {};
}

Done ZipWriter::storeFrom(std::uint64_t size, const Source& source, std::uint64_t dataOffset, Written& entry)
{
    std::string piece(static_cast<std::size_t>(std::min<std::uint64_t>(size, kChunkSize)), '\0');
    Crc32 crc;
    Done done;
    forEachChunk(size, [&](std::uint64_t offset, std::size_t count) {
        if (!(done = source(offset, piece.data(), count)))
            return false;
        crc.add(piece.data(), count);
        return static_cast<bool>(done = out_.writeAt(dataOffset + offset, piece.data(), count));
    });
    entry.method = kMethodStored;
    entry.crc = crc.value();
    entry.compressedSize = static_cast<std::uint32_t>(size);
    entry.size = static_cast<std::uint32_t>(size);
    return done;
}

Done ZipWriter::finish()
{
    if (!state_)
        return state_;
    if (finished_)
        return Done::failure("the archive is already finished");
    std::string records;
    for (const Written& entry : written_)
        records += centralHeader(entry);
    if (end_ + records.size() > kMaxOffset)
        return fail(Done::failure("a zip archive without Zip64 holds less than 4 GiB"));

    std::string end(kEndSize, '\0');
    char* at = end.data();
    write32(at, kEndSignature);
    write16(at + kEndEntriesOnDisk, static_cast<std::uint16_t>(written_.size()));
    write16(at + kEndEntries, static_cast<std::uint16_t>(written_.size()));
    write32(at + kEndDirectorySize, static_cast<std::uint32_t>(records.size()));
    write32(at + kEndDirectoryOffset, static_cast<std::uint32_t>(end_));
    records += end;
    // Whatever the file held before ends here.
    Done done = write(end_, records);
    if (done)
        done = out_.truncate(end_ + records.size());
    if (done)
        done = out_.flush();
    if (!done)
        return fail(done);
    finished_ = true;
    return {};
}

Done ZipWriter::write(std::uint64_t offset, const std::string& bytes)
{
    return out_.writeAt(offset, bytes.data(), bytes.size());
}

Done ZipWriter::fail(Done failure)
{
    state_ = std::move(failure);
    return state_;
}

}  // namespace kitloom
