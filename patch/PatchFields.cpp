#include "patch/PatchFields.h"

namespace kitloom {

std::vector<PatchField> decodePatch(const Patch& patch)
{
    std::vector<PatchField> fields = {{"saveSlot", "Save Slot", {}, patch.lines[0], {}, {}},
                                      {"image", "Image", {}, patch.lines[1], {}, {}},
                                      {"numberImage", "Number image", {}, patch.lines[2], {}, {}}};
    const JerseySpec& spec = patch.spec;
    for (const patchformat::TrailerField& trailer : patchformat::kTrailerFields) {
        PatchField field{trailer.key, trailer.title, {}, {}, trailer.list, {}};
        if (!trailer.code)
            field.text.assign(reinterpret_cast<const char*>(&spec) + trailer.textOffset, trailer.size);
        else
            field.code = spec.*trailer.code;
        if (field.code && field.list)
            field.label = labelOfCode(*field.list, *field.code, ShoeCode::InPatch);
        fields.push_back(std::move(field));
    }
    return fields;
}

}  // namespace kitloom
