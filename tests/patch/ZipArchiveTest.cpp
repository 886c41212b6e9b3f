#include "patch/ArchiveKind.h"
#include "patch/Crc32.h"
#include "patch/ZipBytes.h"
#include "patch/ZipExtraFields.h"
#include "patch/ZipFormat.h"
#include "patch/ZipReader.h"
#include "patch/ZipWriter.h"

#include "tests/support/FaultyFileSystem.h"
#include "tests/support/MemoryFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string_view>

namespace kitloom::test {
namespace {

using namespace zipformat;

// tests/fuzz/zip-corpus/, made by Info-ZIP's zip, Python's zipfile and 7-Zip
// (tools/make-zip-corpus.sh).
struct Seed {
    const char* name;
    std::string_view bytes;
};
const Seed kSeeds[] = {
#include "ZipSeeds.inc"
};

constexpr const char* kPath = "/archive.zip";
const std::string kAccentedName = "\xC3\xA9quipe.fsh";  // équipe.fsh

MemoryTree treeWith(std::string archive)
{
    MemoryTree tree;
    tree.files[kPath] = std::move(archive);
    return tree;
}

// An archive in memory, opened for reading.
struct OpenedZip {
    explicit OpenedZip(std::string archive)
        : files(treeWith(std::move(archive))), reader(files.openForReading(kPath).file)
    {
    }
    MemoryFileSystem files;
    ZipReader reader;
};

// The first problem of opening `archive` and reading each of its entries in turn.
ZipProblem firstProblem(ZipReader& reader, std::uint64_t maxSize)
{
    if (reader.problem())
        return reader.problem();
    for (const ZipEntry& entry : reader.entries()) {
        if (ZipProblem problem = reader.read(entry, maxSize, [](const char*, std::size_t) { return true; }))
            return problem;
    }
    return {};
}

ZipProblem firstProblem(std::string archive, std::uint64_t maxSize = 1 << 20)
{
    OpenedZip zip(std::move(archive));
    return firstProblem(zip.reader, maxSize);
}

std::string zipOf(const std::vector<std::pair<std::string, std::string>>& files)
{
    MemoryFileSystem memory(treeWith({}));
    const std::unique_ptr<OpenFile> out = memory.openForUpdate(kPath).file;
    ZipWriter writer(*out);
    for (const auto& [name, bytes] : files)
        EXPECT_TRUE(writer.add(name, bytes));
    EXPECT_TRUE(writer.finish());
    return memory.tree.files[kPath];
}

// Deflates well.
std::string text(std::size_t size)
{
    std::string lines;
    for (int line = 1; lines.size() < size; ++line)
        lines += "Dunkmere home jersey, line " + std::to_string(line) + "\r\n";
    return lines.substr(0, size);
}

// Does not deflate at all.
std::string noise(std::size_t size, std::uint32_t seed)
{
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<char>(seed >> 24);
    }
    return bytes;
}

// The images of the seeds: an FSH header and a tag.
std::string fsh(const std::string& tag) { return std::string("SHPI\x14\0\0\0\x01\0\0\0G264", 16) + tag; }

// Each field of the writer's archives where the format puts it; they carry no comment.
std::size_t endOf(const std::string& zip) { return zip.size() - kEndSize; }
std::size_t directoryOf(const std::string& zip)
{
    return zipbytes::read32(zip.data() + endOf(zip) + kEndDirectoryOffset);
}
std::string with16(std::string zip, std::size_t at, std::uint16_t value)
{
    zipbytes::write16(zip.data() + at, value);
    return zip;
}
std::string with32(std::string zip, std::size_t at, std::uint32_t value)
{
    zipbytes::write32(zip.data() + at, value);
    return zip;
}

std::string manyEntries(std::size_t count)
{
    std::vector<std::pair<std::string, std::string>> files;
    for (std::size_t entry = 0; entry < count; ++entry)
        files.emplace_back("f" + std::to_string(entry), "");
    return zipOf(files);
}

TEST(ZipArchive, HostileAndDamagedArchivesAreRefusedWithTheirTrouble)
{
    const std::string two = zipOf({{"home.jer", text(3000)}, {"home.fsh", noise(200, 1)}});
    const std::string deflated = zipOf({{"home.jer", text(3000)}});
    const std::string stored = zipOf({{"home.fsh", noise(200, 2)}});
    const std::size_t data = kLocalHeaderSize + 8;  // after the local header of "home.jer" or "home.fsh"
    const std::size_t central = directoryOf(deflated);
    const std::size_t end = endOf(deflated);
    // A megabyte of zeros deflates to about a kilobyte.
    const std::string zeros = zipOf({{"home.jer", std::string(1 << 20, '\0')}});
    const std::string bomb = with32(zeros, directoryOf(zeros) + kCentralSize, 100000);
    std::string tar(1024, '\0');
    tar.replace(257, 8,
                std::string("ustar\0"
                            "00",
                            8));

    struct Case {
        const char* what;
        std::string bytes;
        ZipTrouble trouble;
        ArchiveKind kind = ArchiveKind::Zip;
        std::uint64_t maxSize = 1 << 20;
        std::uint16_t method = 0;
    };
    const Case cases[] = {
        // Downloads cut short.
        {"cut in the first local header", two.substr(0, 10), ZipTrouble::Incomplete},
        {"cut in the first entry's data", two.substr(0, 60), ZipTrouble::Incomplete},
        {"cut where the directory starts", two.substr(0, directoryOf(two)), ZipTrouble::Incomplete},
        {"cut in the directory", two.substr(0, directoryOf(two) + 30), ZipTrouble::Incomplete},
        {"cut in the end record", two.substr(0, two.size() - 4), ZipTrouble::Incomplete},
        {"a directory said to start past its end", with32(deflated, end + kEndDirectoryOffset, central + 1),
         ZipTrouble::Incomplete},
        {"a local header past the directory", with32(deflated, central + kCentralLocalHeaderOffset, 0x7FFFFFF0),
         ZipTrouble::Incomplete},
        {"data said to reach into the directory", with32(deflated, central + kCentralCompressedSize, 0xFFFF),
         ZipTrouble::Incomplete},
        {"a local name said to reach into the directory", with16(deflated, kLocalNameLength, 0xFFFF),
         ZipTrouble::Incomplete},
        // Other files, whatever their names.
        {"an empty file", "", ZipTrouble::NotAZip, ArchiveKind::Unknown},
        {"text", text(100), ZipTrouble::NotAZip, ArchiveKind::Unknown},
        {"7z", std::string("7z\xBC\xAF\x27\x1C\0\x04", 8) + noise(100, 3), ZipTrouble::NotAZip, ArchiveKind::SevenZip},
        {"rar 5", std::string("Rar!\x1A\x07\x01\0", 8) + noise(100, 4), ZipTrouble::NotAZip, ArchiveKind::Rar},
        {"rar 4", std::string("Rar!\x1A\x07\0", 7) + noise(100, 4), ZipTrouble::NotAZip, ArchiveKind::Rar},
        {"tar", tar, ZipTrouble::NotAZip, ArchiveKind::Tar},
        {"gzip", std::string("\x1F\x8B\x08\0", 4) + noise(100, 5), ZipTrouble::NotAZip, ArchiveKind::Gzip},
        {"bzip2", "BZh91AY&SY" + noise(100, 6), ZipTrouble::NotAZip, ArchiveKind::Bzip2},
        {"xz",
         std::string("\xFD"
                     "7zXZ\0",
                     6) +
             noise(100, 7),
         ZipTrouble::NotAZip, ArchiveKind::Xz},
        // Bytes that are not the ones stated.
        {"a stored byte changed",
         with16(stored, data, static_cast<std::uint16_t>(~zipbytes::read16(stored.data() + data))),
         ZipTrouble::CrcMismatch},
        {"the directory's CRC-32 changed", with32(deflated, central + kCentralCrc, 0x12345678), ZipTrouble::CrcMismatch},
        {"a bomb: a megabyte said to be 100,000 bytes", bomb, ZipTrouble::SizeMismatch},
        {"one byte more stated than deflated", with32(deflated, central + kCentralSize, 3001), ZipTrouble::SizeMismatch},
        {"a stored entry whose two sizes differ", with32(stored, directoryOf(stored) + kCentralSize, 199),
         ZipTrouble::SizeMismatch},
        {"deflated bytes that do not inflate", with16(deflated, data, 0xFFFF), ZipTrouble::Damaged},
        {"a broken local header signature", with16(deflated, 0, 0), ZipTrouble::Damaged, ArchiveKind::Unknown},
        {"a broken directory signature", with16(deflated, central, 0), ZipTrouble::Damaged},
        {"more entries counted than the directory holds",
         with16(with16(deflated, end + kEndEntries, 2), end + kEndEntriesOnDisk, 2), ZipTrouble::Damaged},
        // Limits.
        {"an entry over the caller's limit", deflated, ZipTrouble::EntryTooLarge, ArchiveKind::Zip, 2999},
        {"an entry at the caller's limit", deflated, ZipTrouble::None, ArchiveKind::Zip, 3000},
        {"an entry over what one archive may inflate", with32(deflated, central + kCentralSize, 0xC0000000),
         ZipTrouble::ArchiveTooLarge, ArchiveKind::Zip, UINT64_MAX},
        {"kMaxZipEntries entries", manyEntries(kMaxZipEntries), ZipTrouble::None},
        {"one entry more", manyEntries(kMaxZipEntries + 1), ZipTrouble::TooManyEntries},
        // What this reader does not read.
        {"encrypted", with16(deflated, central + kCentralFlags, kFlagEncrypted), ZipTrouble::Encrypted},
        {"AES", with16(deflated, central + kCentralMethod, kMethodAes), ZipTrouble::Encrypted},
        {"bzip2 inside", with16(deflated, central + kCentralMethod, 12), ZipTrouble::UnsupportedMethod,
         ArchiveKind::Zip, 1 << 20, 12},
        {"LZMA inside", with16(deflated, central + kCentralMethod, 14), ZipTrouble::UnsupportedMethod,
         ArchiveKind::Zip, 1 << 20, 14},
        {"the first piece of a spanned archive", std::string("PK\7\x08", 4) + two, ZipTrouble::Split},
        {"an end record on the second disk", with16(deflated, end + kEndDisk, 1), ZipTrouble::Split},
        {"an entry on the second disk", with16(deflated, central + kCentralDiskStart, 1), ZipTrouble::Split},
    };
    for (const Case& hostile : cases) {
        SCOPED_TRACE(hostile.what);
        EXPECT_EQ(archiveKindOf(std::string_view(hostile.bytes).substr(0, kArchiveSniffBytes)), hostile.kind);
        const ZipProblem problem = firstProblem(hostile.bytes, hostile.maxSize);
        EXPECT_EQ(problem.trouble, hostile.trouble);
        EXPECT_EQ(problem.method, hostile.method);
    }

    // The bomb stops at its stated size: the piece that passes it never reaches the sink.
    OpenedZip zip(bomb);
    ASSERT_EQ(zip.reader.entries().size(), 1u);
    std::uint64_t given = 0;
    EXPECT_EQ(zip.reader
                  .read(zip.reader.entries()[0], 1 << 20,
                        [&given](const char*, std::size_t size) {
                            given += size;
                            return true;
                        })
                  .trouble,
              ZipTrouble::SizeMismatch);
    EXPECT_LE(given, 100000u);
}

TEST(ZipArchive, WhatTheWriterWritesReadsBackTheSameAndTheSameEveryTime)
{
    const std::string jersey = text(300);
    const std::string image = noise(20, 1);
    // Over several pieces both ways: read from its file, and deflated.
    const std::string numbers = text(300 * 1024) + noise(100 * 1024, 2);
    const std::string random = noise(100 * 1024, 3);
    MemoryTree tree;
    tree.files["/numbers.fsh"] = numbers;
    tree.files["/random.bin"] = random;
    tree.files["/first.zip"] = "";
    tree.files["/second.zip"] = std::string(1 << 20, 'x');  // what the file held before goes
    MemoryFileSystem memory(tree);
    for (const char* path : {"/first.zip", "/second.zip"}) {
        const std::unique_ptr<OpenFile> out = memory.openForUpdate(path).file;
        ZipWriter writer(*out);
        EXPECT_TRUE(writer.add("home.jer", jersey));
        EXPECT_TRUE(writer.add("home.fsh", image));
        EXPECT_TRUE(writer.add("images/", ""));
        EXPECT_TRUE(writer.add("images/" + kAccentedName, *memory.openForReading("/numbers.fsh").file));
        EXPECT_TRUE(writer.add("random.bin", *memory.openForReading("/random.bin").file));
        EXPECT_TRUE(writer.finish());
        EXPECT_FALSE(writer.add("late.jer", jersey));
    }
    const std::string archive = memory.tree.files["/first.zip"];
    EXPECT_EQ(memory.tree.files["/second.zip"], archive);

    OpenedZip zip(archive);
    ASSERT_FALSE(zip.reader.problem());
    const std::vector<ZipEntry>& entries = zip.reader.entries();
    ASSERT_EQ(entries.size(), 5u);
    const std::string names[] = {"home.jer", "home.fsh", "images/", "images/" + kAccentedName, "random.bin"};
    const std::string contents[] = {jersey, image, "", numbers, random};
    const std::uint16_t methods[] = {kMethodDeflated, kMethodStored, kMethodStored, kMethodDeflated, kMethodStored};
    std::size_t header = directoryOf(archive);
    for (std::size_t index = 0; index < entries.size(); ++index) {
        SCOPED_TRACE(names[index]);
        EXPECT_EQ(entries[index].name, names[index]);
        EXPECT_EQ(entries[index].folder, index == 2);
        EXPECT_EQ(entries[index].method, methods[index]);
        std::string bytes;
        EXPECT_FALSE(zip.reader.readWhole(entries[index], contents[index].size(), bytes));
        EXPECT_EQ(bytes, contents[index]);
        // Only the name that is not ASCII is marked UTF-8.
        const std::uint16_t flags = zipbytes::read16(archive.data() + header + kCentralFlags);
        EXPECT_EQ(flags, index == 3 ? kFlagUtf8 : 0);
        header += kCentralHeaderSize + names[index].size();
    }

    // A sink is given pieces of kChunkSize at most, and may stop after any.
    std::size_t pieces = 0;
    EXPECT_EQ(zip.reader
                  .read(entries[3], numbers.size(),
                        [&pieces](const char*, std::size_t size) {
                            EXPECT_LE(size, kChunkSize);
                            return ++pieces < 2;
                        })
                  .trouble,
              ZipTrouble::Stopped);
    EXPECT_EQ(pieces, 2u);
}

TEST(ZipArchive, ArchivesMadeByOtherToolsReadAsTheyWereMade)
{
    std::string jersey;
    for (int line = 1; line <= 10; ++line)
        jersey += "Dunkmere home jersey, line " + std::to_string(line) + "\r\n";
    const std::map<std::string, std::string> expected = {
        {"home.jer", jersey},
        {"home.fsh", fsh("home")},
        {"images/home_num.fsh", fsh("_num")},
        {kAccentedName, fsh("away")},
    };
    EXPECT_GE(std::size(kSeeds), 8u);
    for (const Seed& seed : kSeeds) {
        SCOPED_TRACE(seed.name);
        EXPECT_EQ(archiveKindOf(seed.bytes.substr(0, kArchiveSniffBytes)), ArchiveKind::Zip);
        OpenedZip zip{std::string(seed.bytes)};
        ASSERT_FALSE(zip.reader.problem()) << static_cast<int>(zip.reader.problem().trouble);
        std::map<std::string, std::string> files;
        for (const ZipEntry& entry : zip.reader.entries()) {
            if (entry.folder) {
                EXPECT_EQ(entry.name, "images/");
                continue;
            }
            EXPECT_FALSE(zip.reader.readWhole(entry, 4096, files[entry.name]));
        }
        EXPECT_EQ(files, expected);
    }
}

TEST(ZipArchive, AUnicodePathFieldNamesAnEntryWhileItsCrcIsThatOfTheStoredName)
{
    // 7-Zip's, with -mcl=on: each name as it is, and the field with it in UTF-8.
    const auto seed = std::find_if(std::begin(kSeeds), std::end(kSeeds), [](const Seed& seed) {
        return std::string_view(seed.name) == "7zip-unicode-path.zip";
    });
    ASSERT_NE(seed, std::end(kSeeds));
    std::string archive(seed->bytes);
    std::size_t header = directoryOf(archive);
    while (archive.compare(header + kCentralHeaderSize, kAccentedName.size(), kAccentedName) != 0) {
        header += kCentralHeaderSize + zipbytes::read16(archive.data() + header + kCentralNameLength) +
                  zipbytes::read16(archive.data() + header + kCentralExtraLength) +
                  zipbytes::read16(archive.data() + header + kCentralCommentLength);
        ASSERT_LT(header, endOf(archive));
    }
    // A tool renamed the entry, in ASCII, and left the field as it was.
    const std::string renamed = "eequipe.fsh";
    archive.replace(header + kCentralHeaderSize, renamed.size(), renamed);
    const std::string_view extraFields = std::string_view(archive).substr(
        header + kCentralHeaderSize + renamed.size(), zipbytes::read16(archive.data() + header + kCentralExtraLength));
    const auto field = findExtraField(extraFields, kUnicodePathExtraId);
    ASSERT_TRUE(field);
    const std::size_t fieldCrc = static_cast<std::size_t>(field->data() - archive.data()) + kUnicodePathCrc;
    const std::uint32_t localHeader = zipbytes::read32(archive.data() + header + kCentralLocalHeaderOffset);
    const auto nameOf = [localHeader](const std::string& bytes) {
        OpenedZip zip(bytes);
        for (const ZipEntry& entry : zip.reader.entries()) {
            if (entry.localHeaderOffset == localHeader)
                return entry.name;
        }
        return std::string("(none)");
    };
    EXPECT_EQ(nameOf(archive), renamed);

    Crc32 crc;
    crc.add(renamed.data(), renamed.size());
    EXPECT_EQ(nameOf(with32(archive, fieldCrc, crc.value())), kAccentedName);
}

TEST(ZipArchive, AFailedReadOrWriteIsToldWithTheSystemsWords)
{
    const std::string archive = zipOf({{"home.jer", text(3000)}, {"home.fsh", noise(200, 1)}});
    for (int faulty = 1;; ++faulty) {
        SCOPED_TRACE("reading, operation " + std::to_string(faulty));
        MemoryFileSystem memory(treeWith(archive));
        FaultyFileSystem files(faulty, Fault::FailOne, memory);
        ZipReader reader(files.openForReading(kPath).file);
        const ZipProblem problem = firstProblem(reader, 1 << 20);
        if (!files.sawFault()) {
            EXPECT_FALSE(problem);
            break;
        }
        EXPECT_EQ(problem.trouble, ZipTrouble::CannotRead);
        EXPECT_FALSE(problem.reason.empty());
    }

    for (int faulty = 1;; ++faulty) {
        SCOPED_TRACE("writing, operation " + std::to_string(faulty));
        MemoryTree tree = treeWith({});
        tree.files["/numbers.fsh"] = text(200 * 1024);
        MemoryFileSystem memory(tree);
        FaultyFileSystem files(faulty, Fault::FailOne, memory);
        const std::unique_ptr<OpenFile> out = files.openForUpdate(kPath).file;
        const std::unique_ptr<OpenFile> source = files.openForReading("/numbers.fsh").file;
        if (!out || !source)
            continue;
        ZipWriter writer(*out);
        const Done calls[] = {writer.add("home.jer", text(3000)), writer.add("numbers.fsh", *source), writer.finish()};
        if (!files.sawFault()) {
            EXPECT_TRUE(calls[0] && calls[1] && calls[2]);
            break;
        }
        bool failed = false;
        for (const Done& call : calls) {
            failed = failed || !call;
            EXPECT_TRUE(call || !call.reason().empty());
        }
        EXPECT_TRUE(failed);
        // An entry refused before anything of it was written leaves a sound archive.
        if (calls[2]) {
            EXPECT_FALSE(firstProblem(memory.tree.files[kPath]));
        }
    }
}

}  // namespace
}  // namespace kitloom::test
