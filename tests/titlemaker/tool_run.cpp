#include "tool_run.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "support/temp_folder.h"

TToolRun RunCommand(const std::string& commandLine)
{
    TTempFolder dir;
    const std::string errFile = dir / "stderr";
    TToolRun run;
    if (std::FILE* pipe = popen((commandLine + " 2>" + Quoted(errFile)).c_str(), "r")) {
        std::array<char, 4096> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe))
            run.Out += buffer.data();
        const int status = pclose(pipe);
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::ostringstream err;
    err << std::ifstream(errFile).rdbuf();
    run.Err = err.str();
    return run;
}

TToolRun Tool(const std::string& args)
{
    return RunCommand(Quoted(std::string(OLVE_BIN_DIR) + "/olvetool") + " " + args);
}

std::string Quoted(const std::string& path)
{
    std::string quoted = "'";
    for (char c : path)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

bool HasProgram(const std::string& name)
{
    return RunCommand("command -v " + Quoted(name) + " >/dev/null").Status == 0;
}
