// Starting another program without waiting for it.
#include "platform/kernel/process.h"

#include <spawn.h>
#include <sys/wait.h>

#include <mutex>
#include <thread>

#include "platform/kernel/path.h"

extern char** environ;

namespace {

struct StarterSeam {
    std::mutex mutex;
    ScopedProgramStarter::Starter starter;
};

StarterSeam& Seam()
{
    static StarterSeam seam;
    return seam;
}

} // namespace

bool StartProgram(const std::string& program, const std::vector<std::string>& arguments)
{
    ScopedProgramStarter::Starter starter;
    {
        StarterSeam& seam = Seam();
        std::lock_guard lock(seam.mutex);
        starter = seam.starter;
    }
    if (starter) {
        return starter(program, arguments);
    }
    if (program.empty()) {
        return false;
    }
    const std::string native = NativePath(program);
    const std::string path = native.find('/') != std::string::npos ? ResolveExistingPath(native) : native;
    std::vector<std::string> texts;
    texts.push_back(path);
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    const int failed = ::posix_spawnp(&child, path.c_str(), nullptr, nullptr, argv.data(), environ);
    if (failed != 0) {
        return false;
    }
    // The caller does not wait; a detached waiter collects the exit status
    // so that the finished child does not linger.
    std::thread([child] {
        int status = 0;
        ::waitpid(child, &status, 0);
    }).detach();
    return true;
}

ScopedProgramStarter::ScopedProgramStarter(Starter starter)
{
    StarterSeam& seam = Seam();
    std::lock_guard lock(seam.mutex);
    m_previous = std::move(seam.starter);
    seam.starter = std::move(starter);
}

ScopedProgramStarter::~ScopedProgramStarter()
{
    StarterSeam& seam = Seam();
    std::lock_guard lock(seam.mutex);
    seam.starter = std::move(m_previous);
}
