#pragma once

#include "workflow/IntakeFile.h"

#include <set>
#include <span>
#include <sys/types.h>
#include <utility>

namespace qv {

// A file as /proc names it: its device and inode.
using FileKey = std::pair<dev_t, ino_t>;

// Which of `files` a process of this user (this one included) holds open for writing, from /proc/PID/fd and
// the access mode in /proc/PID/fdinfo. A process whose descriptors cannot be read is passed over: what it
// holds is for the quiet time to find out.
std::set<FileKey> HeldOpenForWriting(std::span<const FileIdentity> files);

} // namespace qv
