#pragma once

#include "cli/CommandContext.h"
#include "jobs/PackJob.h"

#include <string>

namespace kitloom::cli {

// What became of a pack: the zip written, or every patch and image that kept it from being.
void reportPack(const PackResult& packed, const std::string& zip, const CommandContext& context);

}  // namespace kitloom::cli
