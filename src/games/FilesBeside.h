#pragma once

#include <map>
#include <string>

namespace brivane {

// The files beside `path` by the names the games ask for, whatever their case: each
// upper-cased name and the path to it.
std::map<std::string, std::string> FilesBeside(const std::string& path);

// A file beside `path` of the name the game asks for; empty when it is not there.
std::string FindPartner(const std::string& path, const std::string& partnerName);

// Where a file of `name` beside `path` is, or would be made.
std::string PathBeside(const std::string& path, const std::string& name);

} // namespace brivane
