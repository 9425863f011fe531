#pragma once

#include <string>

#include "core/format/ByteRecord.h"

namespace vx {

// The file a path the user named stands for: a symbolic link (or a chain of them) is followed to
// the file it names, existing or not, so that writing keeps the link a link.
std::string FollowLinks(const std::string& path);

// Writes a file the user named (a report, a SysEx file). Links are followed; a new or plain file
// is replaced through a temporary file, so a failure leaves it as it was, and a read-only one
// is refused ("Destination file is Read-Only!"); a character device or a FIFO is written into
// as it is, and a FIFO nobody reads from is refused rather than waited on; anything else (a
// directory, a block device, a socket) is refused. False with the reason.
bool WriteOutputFile(const std::string& path, const Bytes& content, std::string& error);

}  // namespace vx
