#pragma once
// The option set of a pool, binding or policy, stored as one column in the
// option store's text form ("dns-servers = 2001:db8::53, 2001:db8::54", one
// option per line). The text is parsed into a COptionStore on first use,
// with the record's DHCP context (whose definitions name the options), and
// printed again only after the set was changed, so a record that is read
// and written back without touching its options costs no parsing.

#include <string>
#include <string_view>

#include "dhcp_base/COptionStore.h"
#include "oodb/CPrstAttrBase.h"
#include "standard/CStringMap.h"

class CDHCPContext;

class CPrstOptionStoreAttr : public CPrstAttrBase {
 public:
  // instanceName: the store's name ("pool-options", "binding-options", ...).
  CPrstOptionStoreAttr(CPrstUserBase* owner, const char* column, const char* instanceName);

  CDHCPContext* context() const { return m_context; }
  void context(CDHCPContext* context);

  // The set; throws when it cannot be parsed or there is no context.
  const COptionStore& get() const;
  // The set for changing in place: marks the attribute dirty.
  COptionStore& mutableGet();
  // Takes a copy of store (null: an empty set).
  void set(const COptionStore* store);
  // Parses an option set from text with this attribute's context.
  COptionStorePtr parse(std::string_view text) const;
  bool empty() const;

  // The set that the text-form keys "options" (the whole set), "option"
  // (one option added, or replacing the one with its code) and "-option"
  // (an option name, removed) make of this one; null when none is given.
  // Checked (each option must encode to bytes that decode again) but not
  // applied: adopt() applies it.
  COptionStorePtr fromText(const nuv::CStringMap& map) const;
  void adopt(COptionStorePtr store);

  CDBValue toDB() const override { return CDBValue::ofText(text()); }
  void fromDB(const CDBValue& value) override;
  std::string text() const override;
  void setText(std::string_view text) override;
  void _commitToClone() override { m_clone = text(); }
  void _rollbackFromClone() override;

 private:
  CDHCPContext& _requireContext(const char* op) const;
  // Throws for the first option that cannot be encoded.
  static void _encodeEach(const COptionStore& store);

  const char* m_instanceName;
  CDHCPContext* m_context = nullptr;
  // The stored form; stale while m_changed (the store is then the truth).
  std::string m_text;
  mutable COptionStorePtr m_store;
  bool m_changed = false;
  std::string m_clone;
};
