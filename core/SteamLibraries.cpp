#include "core/SteamLibraries.h"

#include "core/Digits.h"
#include "text/AsciiCase.h"

#include <cctype>
#include <optional>

namespace kitloom {

namespace {

// Steam's own files nest four levels at most; anything much deeper is not one of them, and
// a limit keeps a hostile file from exhausting the stack.
constexpr int kMaxDepth = 16;

struct Entry {
    std::string key;
    std::string value;  // a key with a text value
    std::vector<Entry> children;
    bool isBlock = false;  // a key with a { ... } block
};

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    // Entries until the end of the text (depth 0) or the closing brace of a block.
    bool readEntries(std::vector<Entry>& entries, int depth)
    {
        if (depth > kMaxDepth)
            return false;
        for (;;) {
            skipSpaceAndComments();
            if (at_ == text_.size())
                return depth == 0;
            if (text_[at_] == '}') {
                ++at_;
                return depth > 0;
            }
            Entry entry;
            if (!readToken(entry.key))
                return false;
            skipSpaceAndComments();
            if (at_ < text_.size() && text_[at_] == '{') {
                ++at_;
                entry.isBlock = true;
                if (!readEntries(entry.children, depth + 1))
                    return false;
            } else if (!readToken(entry.value)) {
                return false;
            }
            skipCondition();
            entries.push_back(std::move(entry));
        }
    }

private:
    void skipSpaceAndComments()
    {
        while (at_ < text_.size()) {
            if (std::isspace(static_cast<unsigned char>(text_[at_]))) {
                ++at_;
            } else if (text_.substr(at_, 2) == "//") {
                const std::size_t end = text_.find('\n', at_);
                at_ = end == std::string_view::npos ? text_.size() : end + 1;
            } else {
                return;
            }
        }
    }

    // A platform condition after an entry, such as [$WIN32], which says nothing here.
    void skipCondition()
    {
        skipSpaceAndComments();
        if (at_ < text_.size() && text_[at_] == '[') {
            const std::size_t end = text_.find(']', at_);
            at_ = end == std::string_view::npos ? text_.size() : end + 1;
        }
    }

    // A quoted text with its escapes, or a bare word.
    bool readToken(std::string& token)
    {
        if (at_ == text_.size() || text_[at_] == '{' || text_[at_] == '}')
            return false;
        if (text_[at_] != '"') {
            while (at_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[at_])) && text_[at_] != '"' &&
                   text_[at_] != '{' && text_[at_] != '}')
                token += text_[at_++];
            return true;
        }
        for (++at_; at_ < text_.size(); ++at_) {
            const char c = text_[at_];
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c == '\\' && at_ + 1 < text_.size()) {
                const char escaped = text_[++at_];
                switch (escaped) {
                case '\\':
                case '"':
                    token += escaped;
                    break;
                case 'n':
                    token += '\n';
                    break;
                case 't':
                    token += '\t';
                    break;
                default:
                    token += c;
                    token += escaped;
                    break;
                }
                continue;
            }
            token += c;
        }
        return false;  // the text ends inside a quoted token
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

// A library entry's folder: the value itself in the older format, its "path" in today's.
std::optional<std::string> libraryPath(const Entry& library)
{
    if (!library.isBlock)
        return library.value;
    for (const Entry& field : library.children) {
        if (!field.isBlock && equalsIgnoringAsciiCase(field.key, "path"))
            return field.value;
    }
    return std::nullopt;
}

}  // namespace

SteamLibraries readSteamLibraries(std::string_view text)
{
    SteamLibraries libraries;
    std::vector<Entry> top;
    if (!Reader(text).readEntries(top, 0))
        return libraries;
    for (const Entry& root : top) {
        if (!root.isBlock || !equalsIgnoringAsciiCase(root.key, "libraryfolders"))
            continue;
        libraries.parsed = true;
        // Libraries are numbered; the other keys are Steam's bookkeeping.
        for (const Entry& library : root.children) {
            if (!isNumeral(library.key))
                continue;
            if (const auto path = libraryPath(library); path && !path->empty())
                libraries.paths.push_back(*path);
        }
    }
    return libraries;
}

}  // namespace kitloom
