#include "exp_eval/CControlFunctions.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <thread>

#include "exp_eval/CExpression.h"
#include "extended/CIHostServices.h"
#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace nuv {

namespace {

// Expressions that evaluate further texts ($EVAL, $VALUE) may reach
// themselves again (a $VALUE file naming itself); this bounds the recursion.
constexpr unsigned kMaxNesting = 8;
thread_local unsigned t_nesting = 0;

// A sleeping worker answers no packets; longer waits are surely a typo.
constexpr std::int64_t kMaxSleepMicroseconds = 10'000'000;

class CNestingGuard {
 public:
  explicit CNestingGuard(const CFunctionCall& call) {
    if (t_nesting >= kMaxNesting)
      call.fail(CMessage("Expressions evaluate further expressions more than %1 levels deep.")
                    .push(kMaxNesting));
    ++t_nesting;
  }
  ~CNestingGuard() { --t_nesting; }
  CNestingGuard(const CNestingGuard&) = delete;
  CNestingGuard& operator=(const CNestingGuard&) = delete;
};

void condition(const CFunctionCall& call, CMultiVariant& results) {
  results.push_back(std::move(call[call[0].boolean() ? 1 : 2]));
}

void passThrough(const CFunctionCall& call, CMultiVariant& results) {
  for (CVariant& v : call.arguments()) results.push_back(std::move(v));
}

void evaluate(const CFunctionCall& call, CMultiVariant& results) {
  const CNestingGuard guard(call);
  const CExpression e(&call.eval(), call[0].string());
  for (CVariant& v : *e) results.push_back(std::move(v));
}

// A file of "key = value" lines; the value of the key (or of "<default>")
// is evaluated as an expression. The file is read on every call, so edits
// take effect at once.
void value(const CFunctionCall& call, CMultiVariant& results) {
  const std::string file = call[0].string(), key = call[1].string();
  errno = 0;
  std::ifstream in(file);
  if (!in)
    NUV_THROW_ERRNO(
        CFunctionCall::kContext,
        CMessage("Failed to open file '%1' when executing function $VALUE().").pushs(file),
        errno ? errno : ENOENT);
  std::string line, found, fallback;
  bool haveKey = false, haveDefault = false;
  while (!haveKey && std::getline(in, line)) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string k = trim(std::string_view(line).substr(0, eq));
    if (k == key) {
      found = trim(std::string_view(line).substr(eq + 1));
      haveKey = true;
    } else if (k == "<default>" && !haveDefault) {
      fallback = trim(std::string_view(line).substr(eq + 1));
      haveDefault = true;
    }
  }
  if (!haveKey && !haveDefault)
    call.fail(CMessage("Key '%1' is not in file '%2', which has no '<default>' key.")
                  .pushs(key)
                  .pushs(file));
  const CNestingGuard guard(call);
  const CExpression e(&call.eval(), haveKey ? found : fallback);
  CMultiVariant values = *e;
  if (values.empty())
    call.fail(CMessage("Executing with argument '%1' returned an expression that gave no result.")
                  .pushs(key));
  for (CVariant& v : values) results.push_back(std::move(v));
}

void fileExists(const CFunctionCall& call, CMultiVariant& results) {
  std::FILE* f = std::fopen(call[0].string().c_str(), "r");
  if (f) std::fclose(f);
  results.emplace_back(f != nullptr);
}

void usleep(const CFunctionCall& call, CMultiVariant& results) {
  const std::int64_t us = call[0].integer();
  if (us < 0 || us > kMaxSleepMicroseconds)
    call.fail(CMessage("Argument %1 is outside 0 to %2 microseconds.")
                  .push(us)
                  .push(kMaxSleepMicroseconds));
  std::this_thread::sleep_for(std::chrono::microseconds(us));
  results.emplace_back(true);
}

// One write per call, so that lines of concurrent calls do not interleave.
void print(const CFunctionCall& call, CMultiVariant& results) {
  std::string out;
  for (std::size_t i = 0; i < call.size(); ++i) {
    const CVariant& v = call[i];
    out += "arg_num=" + std::to_string(i + 1) + ", type=" + CVariantType::string(v.type()) +
           ", value=" + v.string() + "\n";
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  results.emplace_back(true);
}

void log(const CFunctionCall& call, CMultiVariant& results) {
  const std::string text = call[0].string();
  if (CIHostServices* host = call.eval().host())
    host->log().log(sev_info, CMessage("%1").pushs(text));
  else
    std::cerr << text << std::endl;
  results.emplace_back(true);
}

}  // namespace

void CControlFunctions::install(CFunctionTable& table) {
  CFunctionCall::add(table, "IF", 3, 3, condition);
  CFunctionCall::add(table, "DEFAULT", 1, CFunctionCall::kAny, passThrough);
  CFunctionCall::add(table, "EVAL", 1, 1, evaluate);
  CFunctionCall::add(table, "VALUE", 2, 2, value);
  CFunctionCall::add(table, "FILE.EXISTS", 1, 1, fileExists);
  CFunctionCall::add(table, "USLEEP", 1, 1, usleep);
  CFunctionCall::add(table, "PRINT", 0, CFunctionCall::kAny, print);
  CFunctionCall::add(table, "LOG", 1, 1, log);
}

}  // namespace nuv
