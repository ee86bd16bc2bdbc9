#pragma once
// Small text helpers shared by the parsers of the foundation.

#include <string>
#include <string_view>
#include <vector>

namespace nuv {

// Splits at every separator; an empty text gives one empty item.
std::vector<std::string> split(std::string_view text, char separator);
// Removes blanks (space, tab, CR, LF) from both ends.
std::string trim(std::string_view text);
std::string toLower(std::string_view text);
// text with every control character (a newline, an escape sequence)
// written as \n, \r, \t or \xNN and a backslash as \\, so that text from
// the network cannot forge or garble a log line.
std::string printable(std::string_view text);
bool iequals(std::string_view a, std::string_view b);

}  // namespace nuv
