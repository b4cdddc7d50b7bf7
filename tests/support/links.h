#pragma once
// Symbolic links for the tests: a plain symlink on POSIX; under Wine a Unix
// link made by the Unix tools, as a user's own tools would leave one beside
// the files the Windows build sees.
#include <string>

namespace sorv::test {

// Makes `link` point to `target`; false where no link can be made here
// (Windows itself, without the privilege).
bool MakeSymlink(const std::string& target, const std::string& link);
// Removes such a link, never its target.
void RemoveSymlink(const std::string& link);

}  // namespace sorv::test
