#include "cli/Arguments.h"

#include <algorithm>

namespace kitloom::cli {

std::optional<std::string> ParsedArguments::value(std::string_view name) const
{
    auto found = options.find(name);
    if (found == options.end())
        return std::nullopt;
    return found->second;
}

bool parseArguments(const std::vector<std::string>& args, std::span<const OptionSpec> known,
                    ParsedArguments& parsed, std::string& problem)
{
    parsed = {};
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.positionals.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            parsed.help = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        auto spec = std::find_if(known.begin(), known.end(), [&](const OptionSpec& s) { return s.name == name; });
        if (spec == known.end()) {
            problem = "unknown option " + name;
            return false;
        }
        if (parsed.has(name)) {
            problem = name + " is given twice";
            return false;
        }
        std::string value;
        if (equals != std::string::npos) {
            if (!spec->takesValue) {
                problem = name + " takes no value";
                return false;
            }
            value = arg.substr(equals + 1);
        } else if (spec->takesValue) {
            if (i + 1 == args.size()) {
                problem = name + " needs a value";
                return false;
            }
            value = args[++i];
        }
        parsed.options.emplace(name, value);
    }
    return true;
}

}  // namespace kitloom::cli
