#pragma once
// A session's map of prototypes by class name. A class may also be
// registered under the names of its bases, so that a lookup by a
// family-neutral name ("CPrstAddressBinding") yields the leaf class
// ("CPrstAddressBinding6").

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "oodb/CPrstUserClassPrototype.h"

class CPrstUserClassFactory {
 public:
  // Registers T (a class with PRST_CLASS) for its table, under its own name
  // and the given base names. A name registered twice keeps the latest.
  template <class T>
  void registerClass(std::string table, std::vector<std::string> baseNames = {},
                     CDBTypeStringMap overrides = {}) {
    _register(
        T::prototypeName(), CPrstProxyArgs{std::move(table), std::move(overrides)},
        [] { return nuv::CGeneralPtr<CPrstUserBase>(nuv::makeGeneral<T>()); }, baseNames);
  }

  bool has(const std::string& name) const { return m_byName.count(name) != 0; }
  // The prototype of a name; throws "Unable to find a factory for type '%1'."
  // / "No such factory." for an unknown one.
  const CPrstUserClassPrototype& _prototype(const std::string& name) const;
  // Every prototype once, in name order of their own names.
  std::vector<const CPrstUserClassPrototype*> prototypes() const;

 private:
  void _register(const std::string& name, CPrstProxyArgs args,
                 CPrstUserClassPrototype::Creator creator,
                 const std::vector<std::string>& baseNames);

  std::map<std::string, std::shared_ptr<const CPrstUserClassPrototype>> m_byName;
};

// What a schema owner offers a session: the registration of its classes.
class CIPrstAbstractFactory {
 public:
  virtual ~CIPrstAbstractFactory() = default;
  virtual void registerPrototypes(CPrstUserClassFactory& factory) const = 0;
};
