#pragma once
// The list behind RemoveTemporaryFilesNow: a few fixed slots, written by the
// program and read by an interrupt handler, so no allocation or lock is
// needed to read it.
#include <string>

namespace sorv::temporary_files {

// Paths too long for a slot, or beyond the slots, are not listed.
void Add(const std::string& path);
void Forget(const std::string& path);
// Calls remove with each listed path and empties the list; as safe in a
// signal handler as remove is.
void RemoveAll(void (*remove)(const char* path));

}  // namespace sorv::temporary_files
