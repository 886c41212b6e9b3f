#include "tests/support/TestSupport.h"

#include "core/LittleEndian.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace kitloom::test {

namespace fs = std::filesystem;

TempFolder::TempFolder()
{
    static std::atomic<int> serial{0};
    std::random_device random;
    fs::path base = fs::temp_directory_path();
    for (;;) {
        fs::path candidate = base / ("kitloom-test-" + std::to_string(random()) + "-" + std::to_string(serial++));
        if (fs::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TempFolder::prefix() const { return path_.string() + kPathSeparator; }

std::string TempFolder::operator/(const std::string& relative) const { return (path_ / relative).string(); }

ScopedCurrentFolder::ScopedCurrentFolder(const fs::path& folder) : previous_(fs::current_path())
{
    fs::current_path(folder);
}

ScopedCurrentFolder::~ScopedCurrentFolder()
{
    std::error_code ignored;
    fs::current_path(previous_, ignored);
}

Bytes readBytes(const fs::path& path)
{
    if (!fs::is_regular_file(path))
        return {};
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& path, const Bytes& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes toBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes recordPattern(std::uint32_t index)
{
    Bytes record(29);
    record[0] = ' ';
    for (std::size_t k = 1; k < record.size(); ++k)
        record[k] = static_cast<std::uint8_t>('a' + (index * 7 + k) % 26);
    return record;
}

Bytes makeTable(std::uint32_t count, bool endOfFileMarker)
{
    Bytes table(386, 0);
    table[0] = 0x03;
    table[1] = 126;  // a date: 2026-11-30
    table[2] = 11;
    table[3] = 30;
    littleendian::writeUInt32(&table[4], count);
    table[8] = 386 & 0xFF;
    table[9] = 386 >> 8;
    table[10] = 29;
    for (std::size_t i = 32; i < 385; ++i)
        table[i] = static_cast<std::uint8_t>('F' + i % 11);
    table[385] = 0x0D;
    for (std::uint32_t i = 0; i < count; ++i) {
        Bytes record = recordPattern(i);
        table.insert(table.end(), record.begin(), record.end());
    }
    if (endOfFileMarker)
        table.push_back(0x1A);
    return table;
}

fs::path addSaveTable(const TempFolder& game, const std::string& folder, std::uint32_t count)
{
    fs::path table = game.path() / "saves" / folder / "teamgear.dbf";
    writeBytes(table, makeTable(count));
    return table;
}

std::uint32_t recordCountOf(const Bytes& table)
{
    if (table.size() < 8)
        throw std::out_of_range("a table shorter than its record count");
    return littleendian::readUInt32(table.data() + 4);
}

JerseySpec exampleJersey(std::int32_t shoe)
{
    JerseySpec spec;
    spec.teamNumber = 5;
    spec.jerseyType = 2;
    spec.jerseyName = {'A', 'B', 'C', 'D'};
    spec.year = {'1', '9', '9', '8', '-', '9', '9', '\0'};
    spec.accessoryColour = 3;
    spec.shoe = shoe;
    spec.sockColour = 1;
    spec.neckType = 1;
    spec.letteringType = 1;
    return spec;
}

}  // namespace kitloom::test

namespace kitloom::test {

namespace {

// kitloom-cli records its jobs in a journal under the user's state folder: every test
// process gets a folder of its own instead, gone when the process ends.
struct JournalHomeForTests {
    JournalHomeForTests() { useJournalHome(folder.path().string()); }
    TempFolder folder;
};
const JournalHomeForTests journalHome;

}  // namespace

std::string journalHomeForTests() { return journalHome.folder.prefix(); }

void useJournalHome(const std::string& folder)
{
#ifdef _WIN32
    _putenv_s("LOCALAPPDATA", folder.c_str());
#else
    setenv("XDG_STATE_HOME", folder.c_str(), 1);
#endif
}

}  // namespace kitloom::test
