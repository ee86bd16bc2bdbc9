#include "oodb/CPrstUserClassFactory.h"

#include "oodb/CPrstException.h"

void CPrstUserClassFactory::_register(const std::string& name, CPrstProxyArgs args,
                                      CPrstUserClassPrototype::Creator creator,
                                      const std::vector<std::string>& baseNames) {
  auto proto =
      std::make_shared<const CPrstUserClassPrototype>(name, std::move(args), std::move(creator));
  m_byName[name] = proto;
  for (const auto& base : baseNames) m_byName[base] = proto;
}

const CPrstUserClassPrototype& CPrstUserClassFactory::_prototype(const std::string& name) const {
  auto it = m_byName.find(name);
  if (it == m_byName.end())
    PRST_THROW("CPrstUserClassFactory::_prototype",
               nuv::CMessage("Unable to find a factory for type '%1'.").pushs(name),
               nuv::CMessage("No such factory."));
  return *it->second;
}

std::vector<const CPrstUserClassPrototype*> CPrstUserClassFactory::prototypes() const {
  std::vector<const CPrstUserClassPrototype*> out;
  for (const auto& [name, proto] : m_byName)
    if (proto->name() == name) out.push_back(proto.get());
  return out;
}
