#include "oodb/CPrstUserClassPrototype.h"

#include "oodb/CPrstAttrBase.h"
#include "oodb/CPrstUserBase.h"

CPrstUserClassPrototype::CPrstUserClassPrototype(std::string name, CPrstProxyArgs args,
                                                 Creator creator)
    : m_name(std::move(name)), m_args(std::move(args)), m_creator(std::move(creator)) {
  // A sample instance tells the columns: the attributes are the class's
  // declaration of its row.
  auto sample = m_creator();
  for (const auto* a : sample->attributes()) {
    if (!a->stored()) continue;
    auto o = m_args.overrides.find(a->column());
    m_columns.push_back(
        {a->column(), o != m_args.overrides.end() ? o->second : dbTypeToken(a->type())});
  }
  m_secured = sample->_supportsSecuredAccess();
}

nuv::CGeneralPtr<CPrstUserBase> CPrstUserClassPrototype::create(CIPrstSession* session) const {
  auto o = m_creator();
  CPrstObjectAccess::bind(*o, this, session);
  CPrstObjectAccess::postConstruction(*o);
  return o;
}
