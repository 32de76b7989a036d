#pragma once
// Replacing a file without ever destroying it: the bytes go to a temporary
// file in the same folder, which is flushed and then renamed over the target.
// A symbolic link is followed (its target is replaced, the link stays) and the
// target's permissions are kept. On any failure the old file is untouched.
#include <cstddef>
#include <functional>
#include <string>

bool replaceFileContents(const std::string& path, const void* data, std::size_t size);

// Tests only: a hook that decides how many bytes a write call really writes
// (return fewer than asked to simulate a full disk). Empty = the real write.
using WriteFaultHook = std::function<std::size_t(std::size_t requested)>;
void setWriteFaultHookForTesting(WriteFaultHook hook);
