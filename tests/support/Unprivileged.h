#pragma once

#include <functional>
#include <string>

namespace brivane::test {

// Runs `work` in a forked child and returns what it returned; throws when the child dies.
std::string RunInChild(const std::function<std::string()>& work);

// Runs `work` in a forked child that has dropped to the "nobody" user, so that file
// modes bind even when the suite runs as root. Returns what `work` returned; throws when
// the child cannot drop its privileges or dies.
std::string RunUnprivileged(const std::function<std::string()>& work);

// Makes a path belong to "nobody", so that the unprivileged child owns what it creates there.
void GiveToNobody(const std::string& path);

} // namespace brivane::test
