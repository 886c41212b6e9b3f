#pragma once

#include "core/SweepReport.h"
#include "jobs/Messages.h"
#include "patch/PatchInstaller.h"
#include "patch/PatchReader.h"

#include <initializer_list>
#include <string_view>
#include <vector>

namespace kitloom {

// Every sentence the system says, kept once here so that the program's message boxes and
// kitloom-cli's lines cannot drift apart.
enum class MessageId {
    FieldMissing,
    JerseyNameLength,
    TeamNumberLength,
    YearLength,
    InvalidField,
    InvalidSaveSlot,
    JerseyInstalledInNamedSave,
    JerseyInstalledInEverySave,
    NoTable,
    TableFull,
    TableDamaged,
    TableUnusable,
    CannotOpenPatch,
    InvalidPatch,
    PatchPathTooLong,
    CannotMoveImage,   // image, art folder
    PatchCreated,      // file name
    CannotWritePatch,  // file name
};

// The message `id` with its places ("{}") filled by `details`, in order.
SystemMessage systemMessage(MessageId id, std::initializer_list<std::string_view> details = {});

// What a table's failure is called; a table that succeeded has no message.
MessageId messageFor(ResultCode result);
MessageId messageFor(PatchReadResult result);

// The program's closing words on an install: its success, or why nothing was installed.
// None after a stop.
std::vector<SystemMessage> installMessages(const SweepReport& job);
// Every message a patch install shows, in order: the patch's problem, or each image that
// is not in the art folder, then the install's closing words.
std::vector<SystemMessage> patchInstallMessages(const PatchInstallReport& report);

}  // namespace kitloom
