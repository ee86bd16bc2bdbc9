#include "exp_eval/CFunctionCall.h"

#include "standard/CException.h"

namespace nuv {

namespace {

CMessage failureWhat(const std::string& name) {
  return CMessage("Failed to execute function $%1().").pushs(name);
}

}  // namespace

CHexStore CFunctionCall::bytes(std::size_t index) const {
  const CVariant& v = m_arguments[index];
  if (v.type() != CVariantType::dt_string) return v.hexstore();
  const std::string s = v.string();
  return CHexStore(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
}

void CFunctionCall::fail(const CMessage& why) const {
  NUV_THROW(kContext, failureWhat(m_name), why);
}

void CFunctionCall::add(CFunctionTable& table, const char* name, unsigned minArgs, unsigned maxArgs,
                        Body body) {
  const std::string key(name);
  table[key] = [key, minArgs, maxArgs, body](const CExpEval& eval, CMultiVariant& arguments,
                                             CMultiVariant& results) {
    const CFunctionCall call(eval, key, arguments);
    if (arguments.size() < minArgs) call.fail(CMessage("Not enough arguments."));
    if (arguments.size() > maxArgs) call.fail(CMessage("Too many arguments."));
    try {
      body(call, results);
    } catch (const CException& e) {
      if (e.module == NUV_MODULE_NAME && e.context == kContext) throw;
      call.fail(CMessage(e.printableError()));
    }
  };
}

}  // namespace nuv
