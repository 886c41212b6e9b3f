#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kitloom::cli {

struct OptionSpec {
    std::string_view name;  // with its dashes: "--team"
    bool takesValue = true;
};

struct ParsedArguments {
    std::map<std::string, std::string, std::less<>> options;
    std::vector<std::string> positionals;
    bool help = false;

    bool has(std::string_view name) const { return options.find(name) != options.end(); }
    std::optional<std::string> value(std::string_view name) const;
};

// "--name value", "--name=value" and positionals, in any order; "--" ends the options.
// "--help" (or "-h") anywhere asks for help. False with `problem` for an unknown or
// repeated option, or one without its value.
bool parseArguments(const std::vector<std::string>& args, std::span<const OptionSpec> known,
                    ParsedArguments& parsed, std::string& problem);

}  // namespace kitloom::cli
