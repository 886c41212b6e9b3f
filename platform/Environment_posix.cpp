#include "platform/Environment.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kitloom {

std::optional<ProgramRun> runProgram(const std::string& program, const std::vector<std::string>& args)
{
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    ::posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    if (spawned != 0) {
        ::close(output[0]);
        return std::nullopt;
    }
    ProgramRun run;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(output[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        run.output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(output[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return run;
    }
    if (WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    return run;
}

bool showDesktopNotification(const std::string& summary, const std::string& body)
{
    // notify-send, from the desktop's libnotify tools, when it is on the PATH.
    const auto shown = runProgram("notify-send", {"--app-name=Kitloom", summary, body});
    return shown && shown->exitStatus == 0;
}

std::optional<std::string> programFolder() { return std::nullopt; }

}  // namespace kitloom
