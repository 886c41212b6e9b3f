#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace kitloom {

// A stream buffer that passes every character on to `to` and adds each whole line written
// through it to `lines`, which other copies may share, so that the lines of two streams
// stay in the order they were written.
class LineCopy final : public std::streambuf {
public:
    LineCopy(std::ostream& to, std::vector<std::string>& lines) : to_(to), lines_(lines) {}

protected:
    int overflow(int c) override
    {
        if (c == traits_type::eof())
            return traits_type::not_eof(c);
        if (c == '\n') {
            lines_.push_back(line_);
            line_.clear();
        } else {
            line_ += static_cast<char>(c);
        }
        return to_.rdbuf()->sputc(static_cast<char>(c));
    }
    int sync() override { return to_.flush() ? 0 : -1; }

private:
    std::ostream& to_;
    std::vector<std::string>& lines_;
    std::string line_;
};

}  // namespace kitloom
