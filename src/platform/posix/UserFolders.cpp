#include "platform/UserFolders.h"

#include "platform/ApplicationInfo.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brivane {
namespace {

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? user->pw_dir : "/";
}

} // namespace

UserFolders FoldersOfUser()
{
    const std::string home = HomeFolder();
    const char* configuration = std::getenv("XDG_CONFIG_HOME");
    // The desktop's base folder rules ignore a relative path here.
    const std::string base = configuration && configuration[0] == '/' ? configuration : home + "/.config";
    return {BRIVANE_INSTALL_BINDIR, base + "/" + kApplicationTitle, home, {}};
}

bool MakeFolders(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), 0777);
    struct stat status {};
    return (::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) && ::stat(path.c_str(), &status) == 0 &&
           S_ISDIR(status.st_mode);
}

} // namespace brivane
