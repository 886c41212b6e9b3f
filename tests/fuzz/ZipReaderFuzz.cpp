// Feeds arbitrary files to the zip reader: it opens each, lists it and reads every entry
// with small limits, within bounded memory and without a fault, and an entry read without
// trouble gives exactly its stated size and CRC-32.
#include "patch/ArchiveKind.h"
#include "patch/Crc32.h"
#include "patch/ZipReader.h"
#include "platform/FileSystem.h"

#include "tests/support/MemoryFileSystem.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// Small enough that a fuzz input inflates quickly, large enough for several pieces.
constexpr std::uint64_t kMaxEntrySize = 4 * kitloom::kChunkSize;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kitloom;
    const std::string archive(reinterpret_cast<const char*>(data), size);
    (void)archiveKindOf(std::string_view(archive).substr(0, kArchiveSniffBytes));

    test::MemoryTree tree;
    tree.files["/fuzz.zip"] = archive;
    test::MemoryFileSystem memory(std::move(tree));
    ZipReader reader(memory.openForReading("/fuzz.zip").file);
    require(reader.entries().size() <= kMaxZipEntries);
    require(!reader.problem() || reader.entries().empty());
    for (const ZipEntry& entry : reader.entries()) {
        std::uint64_t given = 0;
        Crc32 crc;
        const ZipProblem problem = reader.read(entry, kMaxEntrySize, [&](const char* bytes, std::size_t count) {
            require(count > 0 && count <= kChunkSize);
            given += count;
            crc.add(bytes, count);
            return true;
        });
        require(given <= entry.size);
        if (!problem) {
            require(given == entry.size);
            require(crc.value() == entry.crc);
        } else {
            require(problem.trouble != ZipTrouble::Stopped);
        }
    }
    return 0;
}
