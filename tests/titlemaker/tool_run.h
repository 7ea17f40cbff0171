#pragma once
#include <string>

// One run of a command through the shell: its exit status and what it wrote.
struct TToolRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// Runs a shell command line.
TToolRun RunCommand(const std::string& commandLine);
// Runs the built olvetool with the given (already quoted) arguments.
TToolRun Tool(const std::string& args);
// A path quoted for the shell.
std::string Quoted(const std::string& path);
// True when the program is on the PATH.
bool HasProgram(const std::string& name);
