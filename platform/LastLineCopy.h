#pragma once

#include <ostream>
#include <streambuf>
#include <string>

namespace kitloom {

// A stream buffer that passes every character on to `to` and keeps, in `lastLine`, the last
// whole line written through it, or through any other copy that shares the string.
class LastLineCopy final : public std::streambuf {
public:
    LastLineCopy(std::ostream& to, std::string& lastLine) : to_(to), lastLine_(lastLine) {}

protected:
    int overflow(int c) override
    {
        if (c == traits_type::eof())
            return traits_type::not_eof(c);
        if (c == '\n') {
            lastLine_ = line_;
            line_.clear();
        } else {
            line_ += static_cast<char>(c);
        }
        return to_.rdbuf()->sputc(static_cast<char>(c));
    }
    int sync() override { return to_.flush() ? 0 : -1; }

private:
    std::ostream& to_;
    std::string& lastLine_;
    std::string line_;
};

}  // namespace kitloom
