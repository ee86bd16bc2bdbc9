#include "exp_eval/CStringFunctions.h"

#include <fnmatch.h>

#include <cctype>
#include <cstdint>

namespace nuv {

namespace {

std::string caseOf(const CFunctionCall& call, int (*convert)(int)) {
  std::string s = call[0].string();
  for (char& c : s) c = static_cast<char>(convert(static_cast<unsigned char>(c)));
  return s;
}

std::size_t count(const CFunctionCall& call, std::size_t index) {
  const std::int64_t n = call[index].integer();
  if (n < 0) call.fail(CMessage("Count %1 is negative.").push(n));
  return static_cast<std::size_t>(n);
}

void ucase(const CFunctionCall& call, CMultiVariant& results) {
  results.emplace_back(caseOf(call, ::toupper));
}

void lcase(const CFunctionCall& call, CMultiVariant& results) {
  results.emplace_back(caseOf(call, ::tolower));
}

void len(const CFunctionCall& call, CMultiVariant& results) {
  const CVariant& v = call[0];
  const std::size_t n =
      v.type() == CVariantType::dt_hexstore ? v.hexstore().size() : v.string().size();
  results.emplace_back(static_cast<std::int64_t>(n));
}

void left(const CFunctionCall& call, CMultiVariant& results) {
  const std::string s = call[0].string();
  results.emplace_back(s.substr(0, count(call, 1)));
}

void right(const CFunctionCall& call, CMultiVariant& results) {
  const std::string s = call[0].string();
  const std::size_t n = count(call, 1);
  results.emplace_back(n >= s.size() ? s : s.substr(s.size() - n));
}

void mid(const CFunctionCall& call, CMultiVariant& results) {
  const std::string s = call[0].string();
  const std::int64_t position = call[1].integer();
  if (position < 0 || static_cast<std::uint64_t>(position) >= s.size())
    call.fail(CMessage("Position %1 is out of bounds in string %2.").push(position).pushs(s));
  results.emplace_back(s.substr(static_cast<std::size_t>(position), count(call, 2)));
}

void instr(const CFunctionCall& call, CMultiVariant& results) {
  const std::size_t at = call[0].string().find(call[1].string());
  results.emplace_back(at == std::string::npos ? std::int64_t{-1} : static_cast<std::int64_t>(at));
}

void startsWith(const CFunctionCall& call, CMultiVariant& results) {
  const std::string s = call[0].string(), prefix = call[1].string();
  results.emplace_back(s.compare(0, prefix.size(), prefix) == 0);
}

// Shell wildcards: "*", "?" and "[...]" classes.
void match(const CFunctionCall& call, CMultiVariant& results) {
  const std::string s = call[0].string(), pattern = call[1].string();
  results.emplace_back(fnmatch(pattern.c_str(), s.c_str(), 0) == 0);
}

}  // namespace

void CStringFunctions::install(CFunctionTable& table) {
  CFunctionCall::add(table, "UCASE", 1, 1, ucase);
  CFunctionCall::add(table, "LCASE", 1, 1, lcase);
  CFunctionCall::add(table, "LEN", 1, 1, len);
  CFunctionCall::add(table, "LEFT", 2, 2, left);
  CFunctionCall::add(table, "RIGHT", 2, 2, right);
  CFunctionCall::add(table, "MID", 3, 3, mid);
  CFunctionCall::add(table, "INSTR", 2, 2, instr);
  CFunctionCall::add(table, "STARTSWITH", 2, 2, startsWith);
  CFunctionCall::add(table, "MATCH", 2, 2, match);
}

}  // namespace nuv
