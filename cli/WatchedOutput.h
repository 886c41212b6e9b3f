#pragma once

#include "platform/SystemError.h"

#include <streambuf>
#include <string>

namespace kitloom {

// A stream buffer that passes everything on to `to` and keeps the system's words for the
// first write or flush that failed, taken the moment it failed: by the time the stream is
// looked at again, later calls have long replaced them.
class WatchedOutput final : public std::streambuf {
public:
    explicit WatchedOutput(std::streambuf& to) : to_(to) {}

    bool failed() const { return failed_; }
    const std::string& reason() const { return reason_; }

protected:
    int overflow(int c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        return passed(!traits_type::eq_int_type(to_.sputc(traits_type::to_char_type(c)), traits_type::eof()))
                   ? c
                   : traits_type::eof();
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        const std::streamsize put = to_.sputn(text, count);
        passed(put == count);
        return put;
    }
    int sync() override { return passed(to_.pubsync() == 0) ? 0 : -1; }

private:
    bool passed(bool ok)
    {
        if (!ok && !failed_) {
            failed_ = true;
            reason_ = lastSystemError();
        }
        return ok;
    }

    std::streambuf& to_;
    bool failed_ = false;
    std::string reason_;
};

}  // namespace kitloom
