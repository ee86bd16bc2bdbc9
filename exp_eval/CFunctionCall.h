#pragma once
// What a built-in "$" function sees of one call: its name (failures name
// it), its arguments in call order and the evaluator. add() registers a
// function body with its argument count, so that every function checks its
// arguments and reports failures the same way.

#include <cstddef>
#include <string>
#include <unordered_map>

#include "exp_eval/CExpEval.h"
#include "standard/CHexStore.h"
#include "standard/CMessage.h"

namespace nuv {

using CFunctionTable = std::unordered_map<std::string, CExpEval::Handler>;

class CFunctionCall {
 public:
  using Body = void (*)(const CFunctionCall& call, CMultiVariant& results);
  static constexpr unsigned kAny = ~0u;
  // The context of every function failure.
  static constexpr const char* kContext = "CFunctionCall::run";

  CFunctionCall(const CExpEval& eval, const std::string& name, CMultiVariant& arguments)
      : m_eval(eval), m_name(name), m_arguments(arguments) {}

  const CExpEval& eval() const { return m_eval; }
  const std::string& name() const { return m_name; }
  std::size_t size() const { return m_arguments.size(); }
  CVariant& operator[](std::size_t index) const { return m_arguments[index]; }
  CMultiVariant& arguments() const { return m_arguments; }

  // The argument as bytes: a string gives its characters, any other value
  // its byte-sequence conversion.
  CHexStore bytes(std::size_t index) const;

  // Throws "Failed to execute function $NAME()." with the given why-text.
  [[noreturn]] void fail(const CMessage& why) const;

  // Registers body under name for minArgs to maxArgs arguments. Failures
  // of the body that are not already a function failure (a conversion that
  // does not apply, say) are reported as one, with their text as the why.
  static void add(CFunctionTable& table, const char* name, unsigned minArgs, unsigned maxArgs,
                  Body body);

 private:
  const CExpEval& m_eval;
  const std::string& m_name;
  CMultiVariant& m_arguments;
};

}  // namespace nuv
