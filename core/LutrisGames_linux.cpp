#include "core/LutrisGames.h"

#include <yaml-cpp/yaml.h>

#include <exception>

namespace kitloom {

// yaml-cpp reports every problem by throwing: each is caught here, so that no exception
// leaves this file, and becomes the file's note.
LutrisGameFile readLutrisGameFile(const std::string& yaml)
{
    LutrisGameFile file;
    try {
        const YAML::Node document = YAML::Load(yaml);
        if (!document.IsMap()) {
            file.problem = "not a map of settings";
            return file;
        }
        // A key that is not there gives a node that may only be asked IsDefined().
        const YAML::Node game = document["game"];
        const YAML::Node prefix = game.IsDefined() && game.IsMap() ? game["prefix"] : YAML::Node();
        if (prefix.IsDefined() && prefix.IsScalar() && !prefix.Scalar().empty()) {
            file.read = LutrisFileRead::Prefix;
            file.prefix = prefix.Scalar();
        } else {
            file.read = LutrisFileRead::NoPrefix;
        }
    } catch (const std::exception& error) {
        file = {};
        file.problem = error.what();
    }
    return file;
}

}  // namespace kitloom
