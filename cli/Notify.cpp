#include "cli/Notify.h"

#include "cli/Cli.h"
#include "platform/Environment.h"

#include <ostream>
#include <streambuf>
#include <string>

namespace kitloom::cli {

namespace {

// Passes every character on to `to`, keeping the last whole line written to any copy.
class LastLineBuffer final : public std::streambuf {
public:
    LastLineBuffer(std::ostream& to, std::string& lastLine) : to_(to), lastLine_(lastLine) {}

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

}  // namespace

int runNotifying(const CommandContext& context, const std::function<int(const CommandContext&)>& run)
{
    std::string lastLine;
    LastLineBuffer outBuffer(context.out, lastLine);
    LastLineBuffer errBuffer(context.err, lastLine);
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    const CommandContext copied{out, err, context.fileSystem, context.encoding, context.command};
    const int status = run(copied);
    out.flush();
    err.flush();
    const std::string summary = status == kExitSuccess ? "Kitloom: jersey installed" : "Kitloom: install failed";
    if (!showDesktopNotification(summary, lastLine))
        context.err << "note: the outcome could not be shown as a desktop notification (notify-send is missing, or there "
                       "is no desktop session)"
                    << std::endl;
    return status;
}

}  // namespace kitloom::cli
