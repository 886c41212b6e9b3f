#include "patch/Download.h"

#include "platform/TerminalText.h"
#include "text/AsciiCase.h"
#include "text/Cp1252.h"

namespace kitloom {

std::vector<std::string> pathsCalled(const std::vector<std::string>& paths, const std::string& name,
                                     NameSpelling spelling)
{
    const bool utf8 = (spelling == NameSpelling::Utf8 || systemTextIsUtf8()) && !isAscii(name);
    const std::string utf8Name = utf8 ? cp1252ToUtf8(name) : std::string();
    std::vector<std::string> called;
    for (const std::string& path : paths) {
        const std::string last = path.substr(innerFolderOf(path).size());
        if (equalsIgnoringAsciiCase(last, name) || (utf8 && equalsIgnoringAsciiCase(last, utf8Name)))
            called.push_back(path);
    }
    return called;
}

std::string innerFolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool isPatchName(const std::string& name) { return endsWithIgnoringAsciiCase(name, ".jer"); }

}  // namespace kitloom
