#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kitloom {

// Writes a zip archive into an open file, the same bytes for the same entries every time:
// entries in the order added, each dated 1980-01-01 00:00 (MS-DOS's first day), with no
// extra fields, deflated, or stored when deflating does not make it smaller; a name that is
// not ASCII is marked as UTF-8 (flag bit 11). Names are written as given ('/' between
// folders, a folder's own entry ending in '/'). No Zip64: an entry or archive of 4 GiB or
// more, or more than 65,534 entries, is refused. A refused entry leaves the archive as it
// was; after a failure to write, every call gives that failure again.
class ZipWriter {
public:
    explicit ZipWriter(OpenFile& out);
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    Done add(const std::string& name, std::string_view bytes);
    // `source`'s bytes, read in pieces of kChunkSize: the local header is written first, the
    // data after it as it is deflated, then the CRC-32 and sizes are filled in.
    Done add(const std::string& name, OpenFile& source);
    // Writes the central directory and the end record, ends the file there and flushes it;
    // nothing can be added after.
    Done finish();

private:
    // Reads `count` bytes of the entry at `offset` into `buffer`.
    using Source = std::function<Done(std::uint64_t offset, char* buffer, std::size_t count)>;
    struct Written {
        std::string name;
        std::uint16_t flags = 0;
        std::uint16_t method = 0;
        std::uint32_t crc = 0;
        std::uint32_t compressedSize = 0;
        std::uint32_t size = 0;
        std::uint32_t offset = 0;
    };

    Done addFrom(const std::string& name, std::uint64_t size, const Source& source);
    Done deflateFrom(std::uint64_t size, const Source& source, std::uint64_t dataOffset, Written& entry, bool& shrunk);
    Done storeFrom(std::uint64_t size, const Source& source, std::uint64_t dataOffset, Written& entry);
    Done write(std::uint64_t offset, const std::string& bytes);
    Done fail(Done failure);

    OpenFile& out_;
    std::vector<Written> written_;
    std::uint64_t end_ = 0;  // where the next entry starts
    Done state_;             // the first failure, once there is one
    bool finished_ = false;
};

}  // namespace kitloom
