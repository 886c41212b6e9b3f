#include "cli/PackReport.h"

#include "jobs/SystemMessages.h"
#include "text/Cp1252.h"
#include "text/TerminalEscape.h"

namespace kitloom::cli {

void reportPack(const PackResult& packed, const std::string& zip, const CommandContext& context)
{
    TerminalMessages messages = context.messages();
    if (packed.written) {
        if (packed.replaced)
            context.out << "replaced " << escapedText(zip) << std::endl;
        messages.say({Tone::Success, "Packed " + std::to_string(packed.patches.size()) +
                                         (packed.patches.size() == 1 ? " patch" : " patches") +
                                         " with their images into " + escapedText(zip)});
        return;
    }
    for (const PackedPatch& patch : packed.patches) {
        if (patch.read != PatchReadResult::Read)
            messages.say(
                {Tone::Error, systemMessage(messageFor(patch.read)).text + " (" + escapedText(patch.patchPath) + ")"});
        for (const std::string& image : patch.missingImages)
            messages.say({Tone::Error, escapedText(cp1252ToUtf8(image)) + " is not beside " +
                                           escapedText(patch.patchPath) + ", and a pack holds every image"});
    }
    messages.say({Tone::Error, "No zip was written" + (packed.reason.empty()
                                                           ? std::string(": the ERROR lines above say why")
                                                           : " (" + escapedText(zip) + ": " + packed.reason + ")")});
}

}  // namespace kitloom::cli
