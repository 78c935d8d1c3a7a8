#include "support/Unprivileged.h"

#include <grp.h>
#include <pwd.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace brivane::test {
namespace {

struct Nobody {
    uid_t uid;
    gid_t gid;
};

Nobody FindNobody()
{
    const passwd* entry = ::getpwnam("nobody");
    if (!entry)
        throw std::runtime_error("there is no user 'nobody' to drop privileges to");
    return {entry->pw_uid, entry->pw_gid};
}

} // namespace

void GiveToNobody(const std::string& path)
{
    const Nobody nobody = FindNobody();
    if (::geteuid() == 0 && ::chown(path.c_str(), nobody.uid, nobody.gid) != 0)
        throw std::runtime_error("could not give " + path + " to nobody");
}

std::string RunUnprivileged(const std::function<std::string()>& work)
{
    const Nobody nobody = FindNobody();
    return RunInChild([&] {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(nobody.gid) != 0 ||
                                 ::setuid(nobody.uid) != 0))
            ::_exit(3);
        return work();
    });
}

std::string RunInChild(const std::function<std::string()>& work)
{
    int channel[2];
    if (::pipe(channel) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        ::close(channel[0]);
        const std::string result = work();
        std::size_t written = 0;
        while (written < result.size()) {
            const ssize_t n = ::write(channel[1], result.data() + written, result.size() - written);
            if (n <= 0)
                ::_exit(4);
            written += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string output;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the child failed (status " + std::to_string(status) + ")");
    return output;
}

} // namespace brivane::test
