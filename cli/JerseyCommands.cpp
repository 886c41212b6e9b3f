// add and make-patch: the form's Go! and Make a Patch, with the form filled from options.
#include "cli/Commands.h"
#include "cli/JerseyOptions.h"
#include "form/FormCommands.h"
#include "platform/Paths.h"
#include "platform/FileSystem.h"

namespace kitloom::cli {

namespace {

// The Extra Patch Info dialog, answered by --prefix and --file. A refused answer cannot
// be corrected here, so it ends the command.
class OptionsPatchInfo final : public PatchInfoPrompt {
public:
    OptionsPatchInfo(std::string prefix, std::string fileStem, Messages& messages)
        : prefix_(std::move(prefix)), fileStem_(std::move(fileStem)), messages_(messages)
    {
    }

    bool ask(std::string_view jerseyName, std::string& prefix, std::string& fileStem) override
    {
        if (const auto problem = patchInfoProblem(prefix_, fileStem_, jerseyName)) {
            showError(messages_, std::string(*problem));
            return false;
        }
        prefix = prefix_;
        fileStem = fileStem_;
        return true;
    }

private:
    std::string prefix_;
    std::string fileStem_;
    Messages& messages_;
};

int statusOf(bool succeeded, const TerminalMessages& messages)
{
    return succeeded && messages.errorCount() == 0 ? kExitSuccess : kExitFailure;
}

// The jersey options as a form; a problem is described in `problem`. Both jersey
// commands take nothing but options.
bool readJerseyOptions(const ParsedArguments& args, JerseyForm& form, std::string& problem)
{
    if (!args.positionals.empty()) {
        problem = "unexpected " + args.positionals.front();
        return false;
    }
    return fillJerseyForm(args, form, problem);
}

int runAdd(const ParsedArguments& args, const CommandContext& context)
{
    JerseyForm form;
    std::string problem;
    if (!readJerseyOptions(args, form, problem))
        return context.usage(problem);
    // An empty slot would mean every save: never what a script with an unset variable meant.
    const std::optional<std::string> slot = args.value("--slot");
    if (slot && slot->empty())
        return context.usage("--slot needs a save folder");
    form.saveSlot = slot.value_or("");
    if (!isDigits(form.saveSlot))
        return context.usage("--slot takes digits only");

    TerminalMessages messages(context.out, context.err);
    const std::string game = withClosingSeparator(args.value("--game").value_or(""));
    return statusOf(installFromForm(form, systemFileSystem(), messages, game), messages);
}

int runMakePatch(const ParsedArguments& args, const CommandContext& context)
{
    JerseyForm form;
    std::string problem;
    if (!readJerseyOptions(args, form, problem))
        return context.usage(problem);

    TerminalMessages messages(context.out, context.err);
    OptionsPatchInfo prompt(args.value("--prefix").value_or(""), args.value("--file").value_or(""), messages);
    return statusOf(writePatch([&form] { return form; }, prompt, systemFileSystem(), messages), messages);
}

std::vector<OptionSpec> withJerseyOptions(std::vector<OptionSpec> options)
{
    std::vector<OptionSpec> jersey = jerseyOptionSpecs();
    options.insert(options.end(), jersey.begin(), jersey.end());
    return options;
}

std::string addOptionsHelp()
{
    return "  --slot N           Save Slot: the save folder saves/N only\n"
           "  --game DIR         the game folder that holds saves (default: the current folder)\n" +
           jerseyOptionsHelp();
}

std::string makePatchOptionsHelp()
{
    return "  --prefix XX        the 2-character prefix of the jersey's image names\n"
           "  --file STEM        the patch is written as STEM.jer (1 to 75 characters)\n" +
           jerseyOptionsHelp();
}

}  // namespace

Command addCommand()
{
    return {"add", "put a jersey into the saves, as Go! does",
            "add [--slot N] --team N --name NAME --year YEAR [LIST OPTIONS] [--game DIR]",
            "Appends the jersey to saves/N/teamgear.dbf, or without --slot to the table of every\n"
            "numbered save folder from 000 up to the first one missing.\n",
            withJerseyOptions({{"--slot"}, {"--game"}}), addOptionsHelp, runAdd};
}

Command makePatchCommand()
{
    return {"make-patch", "write a jersey patch (.jer), as Make a Patch does",
            "make-patch --prefix XX --file STEM --team N --name NAME --year YEAR [LIST OPTIONS]",
            "Writes STEM.jer, naming the images XXNAME.fsh and XXNAME_num.fsh (it does not copy them).\n",
            withJerseyOptions({{"--prefix"}, {"--file"}}), makePatchOptionsHelp, runMakePatch};
}

}  // namespace kitloom::cli
