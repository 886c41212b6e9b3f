#include "patch/PatchWriter.h"

#include "patch/PatchFormat.h"
#include "platform/FileSystem.h"

namespace kitloom {

PatchWriteReport writePatchFile(const std::string& prefix, const std::string& fileStem, const JerseySpec& spec,
                                FileSystem& fileSystem)
{
    PatchWriteReport report{fileStem + patchformat::kExtension};
    report.written = patchformat::fileStemFits(fileStem) &&
                     static_cast<bool>(fileSystem.replaceFile(report.fileName, encodePatch(prefix, spec)));
    return report;
}

}  // namespace kitloom
