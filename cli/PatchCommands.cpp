// install and show: jersey patches, installed as the program's patch mode does, or read.
#include "cli/Commands.h"
#include "cli/JerseyOptions.h"
#include "cli/TextEscape.h"
#include "core/JerseyLists.h"
#include "patch/PatchInstaller.h"
#include "patch/PatchReader.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <optional>

namespace kitloom::cli {

namespace {

int runInstall(const ParsedArguments& args, const CommandContext& context)
{
    if (args.positionals.empty())
        return context.usage("name at least one patch");
    const std::optional<std::string> game = args.value("--game");
    const std::optional<std::string> art = args.value("--art");
    if (art && art->empty())
        return context.usage("--art needs a folder");

    TerminalMessages messages(context.out, context.err);
    bool allInstalled = true;
    for (const std::string& patchPath : args.positionals) {
        // With several patches, each one's messages follow its name.
        if (args.positionals.size() > 1)
            context.out << patchPath << ":" << std::endl;
        const int errorsBefore = messages.errorCount();
        const std::string gameFolder = game ? withClosingSeparator(*game) : folderOfPath(patchPath);
        PatchInstallOptions options;
        options.gameFolder = game;
        const bool installed =
            installPatch(patchPath, art.value_or(defaultArtFolder(gameFolder)), systemFileSystem(), messages, options);
        if (!installed || messages.errorCount() != errorsBefore)
            allInstalled = false;
    }
    return allInstalled ? kExitSuccess : kExitFailure;
}

// "code (label)"; a code that names no row says so.
std::string codeWithLabel(JerseyList list, long long code, int offset)
{
    const std::string label = labelOfCode(list, code, offset);
    if (label.empty())
        return std::to_string(code) + " (not in the list)";
    return std::to_string(code) + " (" + (list == JerseyList::Shoe ? "row " + label : label) + ")";
}

int runShow(const ParsedArguments& args, const CommandContext& context)
{
    if (args.positionals.size() != 1)
        return context.usage("name one patch");
    TerminalMessages messages(context.out, context.err);
    Patch patch;
    if (const PatchReadResult read = readPatch(systemFileSystem(), args.positionals.front(), patch);
        read != PatchReadResult::Read) {
        showError(messages, messageFor(read));
        return kExitFailure;
    }
    const JerseySpec& spec = patch.spec;
    std::ostream& out = context.out;
    out << "Save Slot: "
        << (patch.lines[0].empty() ? "(none: every numbered save folder)" : quoted(patch.lines[0])) << '\n'
        << "Image: " << quoted(patch.lines[1]) << '\n'
        << "Number image: " << quoted(patch.lines[2]) << '\n'
        << "Team Number: " << spec.teamNumber << '\n'
        << "Jersey Type: " << codeWithLabel(JerseyList::JerseyType, spec.jerseyType, 0) << '\n'
        << "Jersey Name: " << quoted(std::string_view(spec.jerseyName.data(), kJerseyNameLength)) << '\n'
        << "Year: " << quoted(std::string_view(spec.year.data(), kYearLength)) << '\n'
        << "Accessory Colour: "
        << codeWithLabel(JerseyList::AccessoryColour, spec.accessoryColour, kAccessoryColourCodeOffset) << '\n'
        << "Shoe: " << codeWithLabel(JerseyList::Shoe, spec.shoe, kShoeCodeOffsetInPatch) << '\n'
        << "Sock Colour: " << codeWithLabel(JerseyList::SockColour, spec.sockColour, 0) << '\n'
        << "Neck Type: " << codeWithLabel(JerseyList::NeckType, spec.neckType, 0) << '\n'
        << "Lettering Type: " << codeWithLabel(JerseyList::LetteringType, spec.letteringType, 0) << std::endl;
    return kExitSuccess;
}

std::string installOptionsHelp()
{
    return "  --game DIR         the game folder: images and saves are taken from there\n"
           "                     (default: the patch's own folder)\n"
           "  --art DIR          the art folder the images move into, of which only the last\n"
           "                     level is created\n"
           "                     (default: " + std::string(kDefaultArtFolderText) + ")\n";
}

std::string noOptionsHelp() { return {}; }

}  // namespace

Command installCommand()
{
    return {"install", "install jersey patches, as opening them with Kitloom does",
            "install PATCH.jer... [--game DIR] [--art DIR]",
            "Installs each patch in turn: its two images move into the art folder and the jersey\n"
            "goes into the save folder the patch names, or into every numbered save folder.\n",
            {{"--game"}, {"--art"}}, installOptionsHelp, runInstall};
}

Command showCommand()
{
    return {"show", "print what a jersey patch holds", "show PATCH.jer",
            "Prints the patch's three lines and its jersey, each code with its label. A patch\n"
            "carries the Shoe row plus 2 and the Accessory Colour row plus 2.\n",
            {}, noOptionsHelp, runShow};
}

}  // namespace kitloom::cli
