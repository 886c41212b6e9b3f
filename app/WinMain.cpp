#include "app/CommandLine.h"
#include "app/MainDialog.h"
#include "app/MessageBoxes.h"
#include "app/ProgramHooks.h"
#include "app/resources/resource.h"
#include "jobs/InstallJob.h"
#include "platform/FileSystem.h"

#include <windows.h>

namespace {

void installPatchShowing(kitloom::Messages& messages, const std::string& patchPath)
{
    using namespace kitloom;
    InstallRequest request;
    request.patchPaths = {patchPath};
    request.hooks = &kProgramHooks;
    for (const PatchInstall& patch : installJerseys(systemFileSystem(), request).patches)
        showAll(messages, patch.messages);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    using namespace kitloom;
    const StartRequest request = parseCommandLine(commandLine);
    MessageBoxes messages;
    switch (request.mode) {
    case RunMode::PathTooLong:
        show(messages, systemMessage(MessageId::PatchPathTooLong));
        return 0;
    case RunMode::InstallPatch:
        // The program's own rules: the game is the patch's folder, the art folder the fixed
        // one, or the one beside the saves of a game installed under another Program Files.
        installPatchShowing(messages, request.patchPath);
        return 0;
    case RunMode::Form:
        break;
    }
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, mainDialogProc, 0));
}
