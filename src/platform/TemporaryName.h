#pragma once

#include <string>

namespace brivane {

// How every backend names its temporary files: "." + the target's name (cut to 200) + "." +
// ten random letters and digits + ".brivane-tmp". The name is hidden beside its target, tells
// whose it is, and fits in the 255 a name may have ("." + 200 + "." + 10 + 12 is 224).
// Shared by the backends; the core uses TemporaryFile.h.

inline const std::string kTemporarySuffix = ".brivane-tmp";

// ".song.imf." for a target song.imf in any folder.
std::string TemporaryNamePrefix(const std::string& target);

// A fresh name for a temporary file of `target`, without its folder.
std::string NewTemporaryName(const std::string& target);

// Whether `name` is one that NewTemporaryName gives for `target`.
bool IsTemporaryNameOf(const std::string& name, const std::string& target);

} // namespace brivane
