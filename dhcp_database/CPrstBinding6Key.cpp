#include "dhcp_database/CPrstBinding6Key.h"

#include "dhcp_database/CBinding6Identifier.h"
#include "oodb/CPrstException.h"
#include "oodb/CPrstUserBase.h"

const CPrstBinding6Key& CPrstBinding6Key::require(const CPrstBinding6Key* key,
                                                  const CPrstUserBase& record,
                                                  const CBindingIdentifier& id,
                                                  const char* context) {
  if (key) return *key;
  CPrstException e(nuv::CMessage("Cannot use binding identifier %1 with %2.")
                       .pushs(id.string())
                       .pushs(record.header()),
                   nuv::CMessage("Type mismatch."), context, __FILE__, __LINE__);
  e.module = NUV_MODULE_NAME;
  throw e;
}

CPrstBinding6Key& CPrstBinding6Key::require(CPrstBinding6Key* key, const CPrstUserBase& record,
                                            const CBindingIdentifier& id, const char* context) {
  return const_cast<CPrstBinding6Key&>(
      require(static_cast<const CPrstBinding6Key*>(key), record, id, context));
}

std::unique_ptr<CBindingIdentifier> CPrstBinding6Key::identifier(const CPrstBinding6Key* key) {
  if (!key) return nullptr;
  return std::make_unique<CBinding6Identifier>(key->tuple());
}
