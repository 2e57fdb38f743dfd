// Starting another program without waiting for it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/base/api.h"

// Starts `program` (a path in the system's form; a name without a folder is
// looked for on PATH) with `arguments` (not including the program name) and
// returns at once. The child is reaped in the background, so no finished
// child is left behind. False when the program could not be started.
NUVEX_PLATFORM_API bool StartProgram(const std::string& program, const std::vector<std::string>& arguments);

// While alive, StartProgram hands every request to `starter` instead of
// starting anything; its answer is StartProgram's. Guards nest.
class NUVEX_PLATFORM_API ScopedProgramStarter {
public:
    using Starter = std::function<bool(const std::string& program, const std::vector<std::string>& arguments)>;
    explicit ScopedProgramStarter(Starter starter);
    ~ScopedProgramStarter();
    ScopedProgramStarter(const ScopedProgramStarter&) = delete;
    ScopedProgramStarter& operator=(const ScopedProgramStarter&) = delete;

private:
    Starter m_previous;
};
