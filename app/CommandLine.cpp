#include "app/CommandLine.h"

namespace kitloom {

namespace {

std::string trimSpaces(const std::string& text)
{
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

StartRequest parseCommandLine(const char* commandLine)
{
    std::string path = trimSpaces(commandLine ? commandLine : "");
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);

    StartRequest request;
    if (path.empty())
        request.mode = RunMode::Form;
    else if (path.size() > kMaxPatchPathLength)
        request.mode = RunMode::PathTooLong;
    else
        request = {RunMode::InstallPatch, path};
    return request;
}

}  // namespace kitloom
