#include "patch/PatchWriter.h"

#include "patch/PatchFormat.h"
#include "platform/FileSystem.h"
#include "platform/Messages.h"

namespace kitloom {

bool writePatchFile(const std::string& prefix, const std::string& fileStem, const JerseySpec& spec,
                    FileSystem& fileSystem, Messages& messages)
{
    const std::string fileName = fileStem + patchformat::kExtension;
    const bool stemFits = !fileStem.empty() && fileStem.size() <= patchformat::kMaxFileStemLength;
    if (!stemFits || !fileSystem.replaceFile(fileName, encodePatch(prefix, spec))) {
        showError(messages, "Couldn't write the patch file " + fileName + "!");
        return false;
    }
    showSuccess(messages, "Patch file created: " + fileName);
    return true;
}

}  // namespace kitloom
