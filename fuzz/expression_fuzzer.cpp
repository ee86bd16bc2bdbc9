// An expression text as a pool's allow/deny rule or a policy's value
// carries it: parsed, and what parses evaluated. Each either gives values
// or raises nuv::CException. A parsed tree prints its postfix form, and
// the same text read twice gives equal trees.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "exp_eval/CExpEval.h"
#include "exp_eval/CExpression.h"
#include "standard/CException.h"
#include "tests/fixtures/CRecordingHostServices.h"

namespace {

// The built-ins, with those that wait or write made harmless.
class CQuietEval : public nuv::CExpEval {
 public:
  explicit CQuietEval(CIHostServices* host) : CExpEval(host) {
    for (const char* name : {"USLEEP", "PRINT", "LOG"})
      _setHandler(name, [](const CExpEval&, nuv::CMultiVariant&, nuv::CMultiVariant& results) {
        results.emplace_back(true);
      });
  }
};

const CQuietEval& evaluator() {
  static CRecordingHostServices* host = [] {
    auto* c = new CRecordingHostServices;
    c->mutableConfig().set("system.shared_key", "fuzz");
    return c;
  }();
  static const CQuietEval* eval = new CQuietEval(host);
  return *eval;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const CQuietEval& eval = evaluator();
  nuv::CExpression expression(&eval);
  try {
    expression.assign(text);
  } catch (const nuv::CException&) {
    return 0;
  }
  static_cast<void>(expression.postfix());
  if (!(nuv::CExpression(&eval, text) == expression)) std::abort();
  try {
    const nuv::CMultiVariant values = *expression;
    for (const auto& v : values) static_cast<void>(v.string());
  } catch (const nuv::CException&) {
  }
  return 0;
}
