#pragma once
// What pools, bindings and policies share: a secured record with an option
// set (column OPTIONS) and a key/value text form. The option set is read
// with the record's DHCP context, the calling thread's one
// (CDHCPRecordContext) unless set.
//
// Text form: string() gives "key = value" lines in the record's key order,
// one "option = <name> = <value>" line per option; string(text) reads such
// lines (the option lines replace the whole set); stringMap() gives the
// keys as a map with the set under "options"; _set(map) applies keys.

#include <string>
#include <string_view>

#include "dhcp_database/CPrstOptionStoreAttr.h"
#include "oodb/CPersistentSecuredObject.h"
#include "standard/CStringMap.h"

class CDHCPContext;
class CRecordTextReader;
class CRecordTextWriter;

class CPrstDHCPRecord : public CPersistentSecuredObject {
 public:
  CDHCPContext* context() const { return m_options.context(); }
  void context(CDHCPContext* context) { m_options.context(context); }

  const COptionStore& optionStore() const { return m_options.get(); }
  // Whether the set holds anything, without parsing it.
  bool hasOptions() const { return !m_options.empty(); }
  // For changing the set in place: the record writes it on its next commit.
  // (Reading goes through optionStore(), which leaves the record clean.)
  COptionStore& mutableOptionStore() { return m_options.mutableGet(); }
  // A copy of the store (null: an empty set).
  void optionStore(const COptionStore* store) { m_options.set(store); }

  std::string string() const override;
  void string(std::string_view text) override;
  nuv::CStringMap stringMap() const;
  // Checks every key before anything changes; throws the record's summary
  // with the detail of the first fault.
  virtual void _set(const nuv::CStringMap& map) = 0;

 protected:
  explicit CPrstDHCPRecord(const char* optionsName) : m_options(this, "OPTIONS", optionsName) {}
  void _postConstruction() override;

  // The record's keys in order; the option lines follow.
  virtual void _write(CRecordTextWriter& out) const = 0;
  // The set the keys "options", "option" and "-option" make (null when
  // none is given); a bad option fails as in.fail().
  COptionStorePtr _optionsFromText(const CRecordTextReader& in) const;
  void _adoptOptions(COptionStorePtr store) { m_options.adopt(std::move(store)); }

 private:
  CPrstOptionStoreAttr m_options;
};
