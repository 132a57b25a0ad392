#include "workflow/InotifyWatch.h"

#include <cerrno>
#include <cstring>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

namespace {

constexpr uint32_t kFinished = IN_CLOSE_WRITE | IN_MOVED_TO;
constexpr uint32_t kChanged = IN_CREATE | IN_MODIFY | IN_DELETE | IN_MOVED_FROM;
// The directory itself gone from its place: the watch no longer watches DataDir.
constexpr uint32_t kWatchLost = IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;

std::string Failure(const char* call)
{
    return std::string(call) + ": " + std::strerror(errno);
}

} // namespace

InotifyWatch::~InotifyWatch()
{
    if (fd_ >= 0)
        ::close(fd_);
}

DirectoryEvents InotifyWatch::Collect(const std::string& dir)
{
    DirectoryEvents out;
    struct stat st {};
    if (wd_ >= 0 && dir == dir_ && ::stat(dir.c_str(), &st) == 0 && st.st_dev == device_ && st.st_ino == inode_) {
        out.watching = true;
        out.fresh = false;
        Drain(out);
        if (wd_ >= 0)
            return out;
        out = DirectoryEvents{};
    }
    out.failure = Watch(dir);
    out.watching = out.failure.empty();
    if (out.watching)
        Drain(out);
    out.fresh = true;
    return out;
}

std::string InotifyWatch::Watch(const std::string& dir)
{
    Unwatch();
    if (fd_ < 0 && (fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) < 0)
        return Failure("inotify_init1");
    wd_ = ::inotify_add_watch(fd_, dir.c_str(), kFinished | kChanged | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR);
    if (wd_ < 0)
        return Failure("inotify_add_watch");
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0) {
        const std::string failure = Failure("stat");
        Unwatch();
        return failure;
    }
    dir_ = dir;
    device_ = st.st_dev;
    inode_ = st.st_ino;
    return {};
}

void InotifyWatch::Unwatch()
{
    // Events of the old watch still queued are passed over by their watch descriptor.
    if (wd_ >= 0)
        ::inotify_rm_watch(fd_, wd_);
    wd_ = -1;
}

void InotifyWatch::Drain(DirectoryEvents& out)
{
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        const auto size = static_cast<std::size_t>(n);
        for (std::size_t at = 0; at + sizeof(inotify_event) <= size;) {
            inotify_event event{};
            std::memcpy(&event, buffer + at, sizeof event);
            const char* name = buffer + at + sizeof event;
            at += sizeof event + event.len;
            if (at > size)
                return;
            if ((event.mask & IN_Q_OVERFLOW) != 0) {
                out.fresh = true;
                out.events.clear();
                continue;
            }
            if (event.wd != wd_)
                continue;
            if ((event.mask & kWatchLost) != 0) {
                Unwatch();
                return;
            }
            if (event.len == 0 || (event.mask & IN_ISDIR) != 0)
                continue;
            const auto kind =
                (event.mask & kFinished) != 0 ? DirectoryEvent::Kind::Finished : DirectoryEvent::Kind::Changed;
            out.events.push_back({std::string(name, ::strnlen(name, event.len)), kind});
        }
    }
}

} // namespace qv
