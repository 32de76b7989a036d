#pragma once
// Replacing a file without ever destroying it. Normally the bytes go to a
// hidden temporary file in the same folder, which is flushed and then renamed
// over the target; a symbolic link is followed (its target is replaced, the
// link stays) and the target's permissions, owner, group and extended
// attributes (an access control list among them) are kept.
//
// A target the user may not write is never replaced (a plain write would be
// refused too). Where a rename would break what the user has (a folder the
// user cannot write into, a file with other hard links, an owner or group
// the temporary file cannot be given, an attribute it cannot carry), the file
// is written in place instead, after its old bytes have been read: a failed
// write puts them back.
//
// On any failure the old file keeps its bytes. Temporary files that an
// interrupted save of the same target left behind are removed.
#include <cstddef>
#include <functional>
#include <string>

bool replaceFileContents(const std::string& path, const void* data, std::size_t size);

// A write past the process's file size limit (ulimit -f) ends the process
// unless this signal is ignored; ignored, the write fails and the save says
// so, the old file kept. Called once at start-up.
void failWritesPastTheFileSizeLimit();

// Tests only: a hook that decides how many bytes a write of new contents
// really writes (return fewer than asked to simulate a full disk). Empty =
// the real write.
using WriteFaultHook = std::function<std::size_t(std::size_t requested)>;
void setWriteFaultHookForTesting(WriteFaultHook hook);
