#include "workflow/MoveToUnread.h"

#include "app/AtomicFile.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

namespace {

constexpr int kMaxNumberedNames = 1000;

} // namespace

UnreadMove MoveToUnread(const std::string& dataDir, const std::string& path, const FileIdentity& identity)
{
    const UnreadMove changed{UnreadMove::Outcome::Changed, {}};
    const UnreadMove cannot{UnreadMove::Outcome::CannotMove, {}};
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return changed;
    // A link is what was dropped there: it moves when the file it names is unchanged.
    if (S_ISLNK(st.st_mode) && ::stat(path.c_str(), &st) != 0)
        return changed;
    if (IdentityOf(st) != identity)
        return changed;
    std::string folder = dataDir;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    folder += kUnreadFolder;
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
        return cannot;
    const std::string name = path.substr(path.find_last_of('/') + 1);
    for (int n = 0; n <= kMaxNumberedNames; ++n) {
        std::string target = folder + name;
        if (n > 0)
            target += '.' + std::to_string(n);
        if (RenameWithoutReplacing(path, target))
            return {UnreadMove::Outcome::Moved, target};
        if (errno != EEXIST)
            return cannot;
    }
    return cannot;
}

} // namespace qv
