#include "standard/CSecretMask.h"

#include <array>
#include <cctype>

namespace nuv {

namespace {

constexpr std::array<std::string_view, 2> kSecretWords = {"secret", "password"};

bool nameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

bool endsWithWordAt(std::string_view text, std::size_t end, std::string_view word) {
  if (end < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[end - word.size() + i])) != word[i])
      return false;
  return true;
}

bool valueEnd(char c) {
  return std::isspace(static_cast<unsigned char>(c)) || c == ',' || c == ';' || c == ')' ||
         c == ']' || c == '}';
}

}  // namespace

bool CSecretMask::isSecretKey(std::string_view key) {
  while (!key.empty() && std::isspace(static_cast<unsigned char>(key.back()))) key.remove_suffix(1);
  for (std::string_view word : kSecretWords)
    if (endsWithWordAt(key, key.size(), word)) return true;
  return false;
}

std::string CSecretMask::mask(std::string_view text) {
  std::string out;
  std::size_t copied = 0;
  for (std::size_t end = 1; end <= text.size(); ++end) {
    // A name ends here: the next character is no part of it.
    if (end < text.size() && nameChar(text[end])) continue;
    bool secret = false;
    for (std::string_view word : kSecretWords) secret = secret || endsWithWordAt(text, end, word);
    if (!secret) continue;
    std::size_t i = end;
    if (i < text.size() && (text[i] == '\'' || text[i] == '"')) ++i;  // 'name'=...
    while (i < text.size() && text[i] == ' ') ++i;
    if (i >= text.size() || (text[i] != '=' && text[i] != ':')) continue;
    ++i;
    while (i < text.size() && text[i] == ' ') ++i;
    std::size_t from = i, to = i;
    if (i < text.size() && (text[i] == '\'' || text[i] == '"')) {
      const std::size_t close = text.find(text[i], i + 1);
      from = i + 1;
      to = close == std::string_view::npos ? text.size() : close;
    } else {
      while (to < text.size() && !valueEnd(text[to])) ++to;
    }
    if (to == from) continue;
    out.append(text.substr(copied, from - copied)).append(kMask);
    copied = to;
    end = to;
  }
  out.append(text.substr(copied));
  return out;
}

}  // namespace nuv
