#include "dhcp_base/OptionText.h"

#include <algorithm>
#include <cstdio>

#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace {
const char* const kBlanks = " \t\r\n";

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

std::vector<std::string> splitValueList(std::string_view text) {
  std::vector<std::string> out;
  if (nuv::trim(text).empty()) return out;
  // The item's characters in order; blanks are trimmed only at its ends
  // outside the quoted ones, which run from quotedFrom to quotedTo.
  std::string item;
  std::size_t quotedFrom = std::string::npos, quotedTo = 0;
  bool inQuotes = false;
  auto finish = [&]() {
    if (quotedFrom == std::string::npos) {
      out.push_back(nuv::trim(item));
    } else {
      const std::size_t first = std::min(item.find_first_not_of(kBlanks), quotedFrom);
      const std::size_t last = item.find_last_not_of(kBlanks);
      const std::size_t end = last == std::string::npos ? quotedTo : std::max(last + 1, quotedTo);
      out.push_back(item.substr(first, end - first));
    }
    item.clear();
    quotedFrom = std::string::npos;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inQuotes) {
      if (c == '"') {
        inQuotes = false;
        quotedTo = item.size();
      } else if (c == '\\' && i + 1 < text.size()) {
        const char e = text[++i];
        switch (e) {
          case 'n':
            item += '\n';
            break;
          case 't':
            item += '\t';
            break;
          case 'r':
            item += '\r';
            break;
          case 'x':
            if (i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
              item += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
              i += 2;
            } else {
              item += 'x';
            }
            break;
          default:
            item += e;
        }
      } else {
        item += c;
      }
    } else if (c == '"') {
      inQuotes = true;
      if (quotedFrom == std::string::npos) quotedFrom = item.size();
    } else if (c == ',') {
      finish();
    } else {
      item += c;
    }
  }
  // An open quote would silently take the rest of the line, commas and all.
  if (inQuotes)
    NUV_THROW("splitValueList", nuv::CMessage("Cannot read value list '%1'.").pushs(text),
              nuv::CMessage("A quote is not closed."));
  finish();
  return out;
}

std::string quoteValue(std::string_view value) {
  std::string out = "\"";
  for (char c : value) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20 || u == 0x7f) {
      char buf[5];
      std::snprintf(buf, sizeof buf, "\\x%02X", u);
      out += buf;
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

namespace {
// Whether text at pos (after a comma) starts "name =".
bool startsItem(std::string_view text, std::size_t pos) {
  while (pos < text.size() &&
         (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\n' || text[pos] == '\r'))
    ++pos;
  const std::size_t start = pos;
  while (pos < text.size() && text[pos] != '=' && text[pos] != ',' && text[pos] != '"' &&
         text[pos] != '{' && text[pos] != '}')
    ++pos;
  return pos < text.size() && text[pos] == '=' &&
         !nuv::trim(text.substr(start, pos - start)).empty();
}
}  // namespace

bool splitContainerItems(std::string_view text, std::vector<CContainerItem>& items) {
  items.clear();
  std::string t = nuv::trim(text);
  if (t.size() < 2 || t.front() != '{' || t.back() != '}') return false;
  std::string_view body(t.data() + 1, t.size() - 2);
  if (nuv::trim(body).empty()) return true;
  int depth = 0;
  bool inQuotes = false;
  std::size_t start = 0;
  auto take = [&](std::size_t end) {
    std::string_view part = body.substr(start, end - start);
    const std::size_t eq = part.find('=');
    if (eq == std::string_view::npos) return false;
    CContainerItem item{nuv::trim(part.substr(0, eq)), nuv::trim(part.substr(eq + 1))};
    if (item.name.empty()) return false;
    items.push_back(std::move(item));
    return true;
  };
  for (std::size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (inQuotes) {
      if (c == '\\')
        ++i;
      else if (c == '"')
        inQuotes = false;
    } else if (c == '"') {
      inQuotes = true;
    } else if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (--depth < 0) return false;
    } else if (c == ',' && depth == 0 && startsItem(body, i + 1)) {
      if (!take(i)) return false;
      start = i + 1;
    }
  }
  if (inQuotes || depth != 0) return false;
  return take(body.size());
}
