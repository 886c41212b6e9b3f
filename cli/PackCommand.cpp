// pack: the zip a player shares, each patch with its two images.
#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/PackReport.h"
#include "jobs/PackJob.h"

#include <CLI/CLI.hpp>

namespace kitloom::cli {

namespace {

struct PackOptions {
    std::vector<std::string> patches;
    std::string zip;
};

int runPack(const PackOptions& options, const CommandContext& context)
{
    const PackResult packed = packPatches(context.fileSystem, {options.patches, options.zip});
    reportPack(packed, options.zip, context);
    return exitStatus(packed.status);
}

}  // namespace

CommandRun addPackCommand(CLI::App& app)
{
    return defineCommand<PackOptions>(
        app, "pack", "write the zip a player shares: patches with their images",
        "Writes FILE.zip with each patch and its two images, read from beside it, in a folder of\n"
        "the patch's name. Nothing is written when a patch cannot be read or an image is missing.\n"
        "Two packs of the same patches are the same bytes, and 'kitloom-cli install FILE.zip'\n"
        "installs every patch in it.",
        [](CLI::App& command, PackOptions& options) {
            command.add_option("patches", options.patches, "the patches (.jer)")->type_name("PATCH")->required();
            command.add_option("-o,--output", options.zip, "the zip to write")->type_name("FILE.zip")->required();
        },
        runPack);
}

}  // namespace kitloom::cli
