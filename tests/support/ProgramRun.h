// Runs one of the project's command-line tools and keeps what it printed and how it ended.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace tamtara::testing {

struct ProgramRun {
    std::string Output; // standard output and standard error, interleaved
    int ExitCode = -1;
};

inline ProgramRun RunProgram(const std::string& program, const std::string& arguments) {
    ProgramRun run;
    const std::string command = program + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.Output.append(buffer, count);
    run.ExitCode = WEXITSTATUS(pclose(pipe));
    return run;
}

} // namespace tamtara::testing
