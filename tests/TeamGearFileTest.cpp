#include "core/TeamGearFile.h"

#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kitloom::test {
namespace {

// The record that appending exampleJersey(8) as record `number` makes from `copied`.
Bytes expectedRecord(const Bytes& copied, const char (&number)[4], const char (&team)[3],
                     const char (&accessory)[3], const char (&shoe)[3])
{
    Bytes record = copied;
    std::memcpy(&record[3], number, 3);
    std::memcpy(&record[6], team, 2);
    record[8] = '2';
    std::memcpy(&record[9], "ABCD", 4);
    std::memcpy(&record[13], "1998-99", 7);
    std::memcpy(&record[20], accessory, 2);
    std::memcpy(&record[23], shoe, 2);
    record[25] = '1';
    record[26] = '1';
    record[27] = '1';
    return record;
}

Bytes lastRecordOf(const Bytes& table, std::size_t trailing = 0)
{
    return Bytes(table.end() - 29 - static_cast<std::ptrdiff_t>(trailing),
                 table.end() - static_cast<std::ptrdiff_t>(trailing));
}

class TeamGearFileTest : public ::testing::Test {
protected:
    std::string table() const { return folder / "teamgear.dbf"; }
    ResultCode append(const JerseySpec& spec = exampleJersey(8), bool reportErrors = true)
    {
        return TeamGearFile(systemFileSystem(), messages, folder.prefix()).appendJersey(table(), spec, reportErrors);
    }

    TempFolder folder;
    RecordingMessages messages;
};

TEST_F(TeamGearFileTest, AppendsCopyOfLastRecordWithFieldsOverwritten)
{
    writeBytes(table(), makeTable(5));

    ASSERT_EQ(append(), ResultCode::Appended);

    Bytes after = readBytes(table());
    Bytes before = makeTable(5);
    ASSERT_EQ(after.size(), before.size() + 29);
    EXPECT_EQ(recordCountOf(after), 6u);
    EXPECT_TRUE(std::equal(before.begin() + 8, before.end(), after.begin() + 8)) << "header and old records kept";
    EXPECT_EQ(lastRecordOf(after), expectedRecord(recordPattern(4), {'6', 0, 0}, {'5', 0}, " 3", " 8"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(TeamGearFileTest, FieldWidthsForTwoAndThreeDigitNumbersAndCodes)
{
    JerseySpec spec = exampleJersey(8);
    spec.teamNumber = 99;
    spec.accessoryColour = 12;
    spec.shoe = 53;

    writeBytes(table(), makeTable(41));
    ASSERT_EQ(append(spec), ResultCode::Appended);
    EXPECT_EQ(lastRecordOf(readBytes(table())), expectedRecord(recordPattern(40), {'4', '2', 0}, "99", "12", "53"));

    writeBytes(table(), makeTable(998));
    ASSERT_EQ(append(spec), ResultCode::Appended);
    EXPECT_EQ(lastRecordOf(readBytes(table())), expectedRecord(recordPattern(997), "999", "99", "12", "53"));
}

TEST_F(TeamGearFileTest, CountsAboveAThousandAreCutToThreeCharacters)
{
    JerseySpec spec = exampleJersey(8);
    spec.teamNumber = 123;  // a patch may carry any number
    writeBytes(table(), makeTable(1234));
    ASSERT_EQ(append(spec), ResultCode::Appended);
    Bytes record = lastRecordOf(readBytes(table()));
    EXPECT_EQ(std::string(record.begin() + 3, record.begin() + 8), "12312");
}

TEST_F(TeamGearFileTest, FullTableAt999IsRefusedAndUntouched)
{
    writeBytes(table(), makeTable(998));
    ASSERT_EQ(append(), ResultCode::Appended);
    Bytes full = readBytes(table());
    EXPECT_EQ(recordCountOf(full), 999u);

    EXPECT_EQ(append(), ResultCode::TableFull);
    EXPECT_EQ(readBytes(table()), full);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("There are already 999 jerseys!")});

    messages.shown.clear();
    EXPECT_EQ(append(exampleJersey(8), false), ResultCode::TableFull);
    EXPECT_TRUE(messages.shown.empty()) << "silent without reportErrors";
}

TEST_F(TeamGearFileTest, MissingTable)
{
    EXPECT_EQ(append(), ResultCode::NoTable);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Invalid Directory!")});
    EXPECT_FALSE(std::filesystem::exists(table()));
}

TEST_F(TeamGearFileTest, EndOfFileMarkerStaysLast)
{
    writeBytes(table(), makeTable(3, true));
    ASSERT_EQ(append(), ResultCode::Appended);

    Bytes after = readBytes(table());
    Bytes before = makeTable(3, true);
    ASSERT_EQ(after.size(), before.size() + 29);
    EXPECT_EQ(after.back(), 0x1A);
    EXPECT_EQ(recordCountOf(after), 4u);
    EXPECT_TRUE(std::equal(before.begin() + 8, before.end() - 1, after.begin() + 8));
    EXPECT_EQ(lastRecordOf(after, 1), expectedRecord(recordPattern(2), {'4', 0, 0}, {'5', 0}, " 3", " 8"));
}

TEST_F(TeamGearFileTest, TablesWhoseCountDisagreesWithTheirSizeAreRefusedUntouched)
{
    Bytes countTooHigh = makeTable(4);
    countTooHigh[4] = 5;
    Bytes countZero = makeTable(0);
    Bytes extraByte = makeTable(4);
    extraByte.push_back('x');  // not the end-of-file marker
    Bytes headerOnly = makeTable(0);
    headerOnly[4] = 1;

    for (const Bytes& damaged : {countTooHigh, countZero, extraByte, headerOnly}) {
        messages.shown.clear();
        writeBytes(table(), damaged);
        EXPECT_EQ(append(), ResultCode::TableDamaged);
        EXPECT_EQ(readBytes(table()), damaged);
        EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("The team gear file is damaged!")});
    }
}

TEST_F(TeamGearFileTest, EveryProperPrefixOfATableIsRefusedUntouched)
{
    const Bytes whole = makeTable(3);
    for (std::size_t length = 0; length < whole.size(); ++length) {
        Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        writeBytes(table(), prefix);
        ASSERT_EQ(append(exampleJersey(8), false), ResultCode::TableDamaged) << "prefix of " << length << " bytes";
        ASSERT_EQ(readBytes(table()), prefix) << "prefix of " << length << " bytes";
    }
}

TEST_F(TeamGearFileTest, AFolderNamedLikeTheTableCannotBeOpened)
{
    std::filesystem::create_directories(table());
    EXPECT_EQ(append(), ResultCode::TableUnusable);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("The team gear file couldn't be opened!")});
}

TEST_F(TeamGearFileTest, AFailedWriteOrFlushLeavesTheTableAsItWas)
{
    for (bool marker : {false, true}) {
        const Bytes before = makeTable(6, marker);
        int failing = 1;
        for (;; ++failing) {
            writeBytes(table(), before);
            FaultyFileSystem faulty(failing);
            RecordingMessages shown;
            ResultCode result = TeamGearFile(faulty, shown).appendJersey(table(), exampleJersey(8), true);
            if (result == ResultCode::Appended) {
                EXPECT_GT(failing, 4) << "record, flush, count and flush each had their turn to fail";
                break;
            }
            ASSERT_EQ(result, ResultCode::TableUnusable) << "operation " << failing;
            ASSERT_EQ(readBytes(table()), before) << "operation " << failing << ", marker " << marker;
            ASSERT_EQ(shown.shown, std::vector<ShownMessage>{error("The team gear file couldn't be opened!")});
        }
    }
}

}  // namespace
}  // namespace kitloom::test
