#include "jobs/SystemMessages.h"


namespace kitloom {

namespace {

struct MessageText {
    MessageId id;
    MessageKind kind;
    const char* text;
};

// The spellings are the program's own and stay as they are: the named save's success
// ends in "!", the sweep's does not, and both say "Succesfully".
constexpr MessageText kMessages[] = {
    {MessageId::FieldMissing, MessageKind::Error, "You forgot to fill in a field!"},
    {MessageId::JerseyNameLength, MessageKind::Error, "The jersey name wasn't the right length!"},
    {MessageId::TeamNumberLength, MessageKind::Error, "The Team ID wasn't the right length!"},
    {MessageId::YearLength, MessageKind::Error, "The year wasn't the right length!"},
    {MessageId::InvalidField, MessageKind::Error, "Invalid Field"},
    {MessageId::InvalidSaveSlot, MessageKind::Error, "Invalid Save Slot"},
    {MessageId::JerseyInstalledInNamedSave, MessageKind::Success, "Jersey Installed Succesfully!"},
    {MessageId::JerseyInstalledInEverySave, MessageKind::Success, "Jersey Installed Succesfully"},
    {MessageId::NoTable, MessageKind::Error, "Invalid Directory!"},
    {MessageId::TableFull, MessageKind::Error, "There are already 999 jerseys!"},
    {MessageId::TableDamaged, MessageKind::Error, "The team gear file is damaged!"},
    {MessageId::TableUnusable, MessageKind::Error, "The team gear file couldn't be opened!"},
    {MessageId::CannotOpenPatch, MessageKind::Error, "Couldn't open the patch file!"},
    {MessageId::InvalidPatch, MessageKind::Error, "Invalid patch file!"},
    {MessageId::PatchPathTooLong, MessageKind::Error, "The patch path is too long!"},
    {MessageId::CannotMoveImage, MessageKind::Error, "Couldn't move {} to {}"},
    {MessageId::PatchCreated, MessageKind::Success, "Patch file created: {}"},
    {MessageId::CannotWritePatch, MessageKind::Error, "Couldn't write the patch file {}!"},
};

}  // namespace

SystemMessage systemMessage(MessageId id, std::initializer_list<std::string_view> details)
{
    for (const MessageText& message : kMessages) {
        if (message.id != id)
            continue;
        SystemMessage filled{message.kind, message.text};
        std::size_t at = 0;
        for (std::string_view detail : details) {
            at = filled.text.find("{}", at);
            if (at == std::string::npos)
                break;
            filled.text.replace(at, 2, detail);
            at += detail.size();
        }
        return filled;
    }
    return {MessageKind::Error, {}};
}

MessageId messageFor(ResultCode result)
{
    switch (result) {
    case ResultCode::TableFull:
        return MessageId::TableFull;
    case ResultCode::TableDamaged:
        return MessageId::TableDamaged;
    case ResultCode::TableUnusable:
        return MessageId::TableUnusable;
    default:
        return MessageId::NoTable;
    }
}

MessageId messageFor(PatchReadResult result)
{
    return result == PatchReadResult::CannotOpen ? MessageId::CannotOpenPatch : MessageId::InvalidPatch;
}

std::vector<SystemMessage> installMessages(const SweepReport& job)
{
    switch (job.outcome) {
    case SweepOutcome::Stopped:
        return {};
    case SweepOutcome::NoSaves:
        return {systemMessage(MessageId::InvalidSaveSlot)};
    case SweepOutcome::Done:
        return {systemMessage(job.namedSave ? MessageId::JerseyInstalledInNamedSave
                                            : MessageId::JerseyInstalledInEverySave)};
    case SweepOutcome::NothingDone:
        break;
    }
    // However many tables failed, the first one's words are the job's.
    const TableReport* failure = job.firstFailure();
    if (!failure)
        return {};
    return {systemMessage(messageFor(failure->result))};
}

std::vector<SystemMessage> patchInstallMessages(const PatchInstallReport& report)
{
    if (report.read != PatchReadResult::Read)
        return {systemMessage(messageFor(report.read))};
    std::vector<SystemMessage> shown;
    for (const ImageMove& move : report.images) {
        if (!move.inArtFolder)
            shown.push_back(systemMessage(MessageId::CannotMoveImage, {move.image, report.artFolder}));
    }
    for (SystemMessage& closing : installMessages(report.job))
        shown.push_back(std::move(closing));
    return shown;
}

}  // namespace kitloom
