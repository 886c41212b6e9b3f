#include "platform/Environment.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace kitloom {

bool showDesktopNotification(const std::string& summary, const std::string& body)
{
    // notify-send, from the desktop's libnotify tools, when it is on the PATH.
    std::string program = "notify-send";
    std::string appName = "--app-name=Kitloom";
    char* const args[] = {program.data(), appName.data(), const_cast<char*>(summary.c_str()),
                          const_cast<char*>(body.c_str()), nullptr};
    // Its own complaints (no desktop session) would only repeat what the caller says.
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, program.c_str(), &actions, nullptr, args, environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace kitloom
