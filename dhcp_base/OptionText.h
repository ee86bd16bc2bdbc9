#pragma once
// Text helpers of the option value forms.

#include <string>
#include <string_view>
#include <vector>

// Splits a value list at commas outside double quotes. Unquoted parts are
// trimmed; quoted parts are taken as written between the quotes, with the
// escapes \" \\ \n \t \r and \xNN processed; an item may mix both, in
// order. The empty (or blank) text is the empty list; a quote left open
// fails.
std::vector<std::string> splitValueList(std::string_view text);
// The value in double quotes, escaped so that splitValueList reads it back.
std::string quoteValue(std::string_view value);

struct CContainerItem {
  std::string name;
  std::string value;
};
// Reads "{ name = value, name = { ... }, ... }": the items of one level.
// A comma ends a value only outside quotes and braces and when a "name ="
// follows it, so list values ("1, 2") stay whole. Returns false when the
// text is not a braced item list.
bool splitContainerItems(std::string_view text, std::vector<CContainerItem>& items);
