#include "core/HeroicGames.h"

#include <nlohmann/json.hpp>

namespace kitloom {

HeroicGameFile readHeroicGameFile(const std::string& json)
{
    HeroicGameFile file;
    // Parsed without exceptions: a file that is no JSON is a note, never a stop.
    const nlohmann::json document = nlohmann::json::parse(json, nullptr, false);
    if (document.is_discarded() || !document.is_object())
        return file;
    file.parsed = true;
    // Beside the games, Heroic keeps plain values ("version", "explicit").
    for (const auto& [id, game] : document.items()) {
        if (!game.is_object())
            continue;
        const auto prefix = game.find("winePrefix");
        if (prefix != game.end() && prefix->is_string() && !prefix->get_ref<const std::string&>().empty())
            file.prefixes.push_back(prefix->get<std::string>());
    }
    return file;
}

}  // namespace kitloom
