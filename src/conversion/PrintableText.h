#pragma once

#include <string>

namespace brivane {

// A file name as messages show it: a newline, another control character or a byte that is
// not UTF-8 is written as an escape (\n, \t, \033), as `ls -b` does, so that one message
// stays one line. A backslash is kept as it is: it separates folders on Windows.
std::string Printable(const std::string& text);

} // namespace brivane
