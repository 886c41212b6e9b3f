#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace kitloom {
namespace {

TEST(CommandLineTest, EmptyOrBlankShowsTheForm)
{
    for (const char* line : {"", "   ", "\"\"", " \"\" "})
        EXPECT_EQ(parseCommandLine(line).mode, RunMode::Form) << line;
    EXPECT_EQ(parseCommandLine(nullptr).mode, RunMode::Form);
}

TEST(CommandLineTest, APathLosesSurroundingSpacesAndOnePairOfQuotes)
{
    StartRequest quoted = parseCommandLine("  \"C:\\My Patches\\toronto 98.jer\" ");
    EXPECT_EQ(quoted.mode, RunMode::InstallPatch);
    EXPECT_EQ(quoted.patchPath, "C:\\My Patches\\toronto 98.jer");
    EXPECT_EQ(parseCommandLine("toronto_98.jer").patchPath, "toronto_98.jer");
    EXPECT_EQ(parseCommandLine("\"a\"b\"").patchPath, "a\"b");
}

TEST(CommandLineTest, PathsOver255CharactersAreRefused)
{
    EXPECT_EQ(parseCommandLine(std::string(255, 'p').c_str()).mode, RunMode::InstallPatch);
    EXPECT_EQ(parseCommandLine(("\"" + std::string(255, 'p') + "\"").c_str()).mode, RunMode::InstallPatch);
    EXPECT_EQ(parseCommandLine(std::string(256, 'p').c_str()).mode, RunMode::PathTooLong);
}

}  // namespace
}  // namespace kitloom
