#pragma once
#include <chrono>
#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Runs work in a child process and kills it with SIGKILL after delay, as a power cut or
// "kill -9" would: nothing of the child's is cleaned up. work should loop, so that the kill
// always lands in the middle of it. True when the child was killed (not ended by itself).
inline bool KillMidway(const std::function<void()>& work, std::chrono::microseconds delay)
{
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    if (child < 0)
        return false;
    std::this_thread::sleep_for(delay);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}
