#pragma once

#include "jobs/InstallJob.h"

#include <nlohmann/json.hpp>

namespace kitloom::cli {

// An install as one JSON document, for scripts: each path given, each patch in it, each of
// its tables and images, and what became of them; texts in UTF-8.
nlohmann::ordered_json installJson(const InstallResult& result, bool dryRun);

}  // namespace kitloom::cli
