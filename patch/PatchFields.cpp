#include "patch/PatchFields.h"

#include "core/JerseyFields.h"

namespace kitloom {

std::vector<PatchField> decodePatch(const Patch& patch)
{
    std::vector<PatchField> fields = {{"saveSlot", "Save Slot", {}, patch.lines[0], {}, {}},
                                      {"image", "Image", {}, patch.lines[1], {}, {}},
                                      {"numberImage", "Number image", {}, patch.lines[2], {}, {}}};
    const JerseySpec& spec = patch.spec;
    for (const JerseyField& row : kJerseyFields) {
        if (!row.inTrailer())
            continue;
        PatchField field{row.key, row.title, {}, {}, row.list, {}};
        if (row.holdsText()) {
            const std::span<const char> text = valueIn(spec, row);
            field.text.assign(text.begin(), text.end());
        } else {
            field.code = numberIn(spec, row);
        }
        if (field.code && field.list)
            field.label = labelOfCode(*field.list, *field.code, ShoeCode::InPatch);
        fields.push_back(std::move(field));
    }
    return fields;
}

}  // namespace kitloom
