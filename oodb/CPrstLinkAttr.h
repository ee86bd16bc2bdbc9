#pragma once
// Links to many objects through a link table. A link row holds the owner's
// key (SRC_ATTR_REF), the link's column name (SRC_ATTR_NAME), the target's
// key (DEST_ATTR_REF), its prototype name (DEST_ATTR_NAME) and its position
// (DEST_SEQ_KEY); a link is read on first use and its rows are rewritten
// when it changed. Owned targets (the default) are written with the owner
// and deleted with it or when they leave the link.
//   CPrstLink2ManyAttr<T>    unordered (a pool's exclusion ranges)
//   CPrstLinkByIndexAttr<T>  ordered by position (a pool's relay addresses)
//
//   CPrstLinkByIndexAttr<CPrstIPAddress> m_relays{this, "RELAY", "dhcp_apools6_relay_links"};

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "oodb/CPrstAttrBase.h"
#include "oodb/CPrstUserClassPtr.h"

template <class T>
class CPrstLinkAttrBase : public CPrstAttrBase {
 public:
  using Ptr = CPrstUserClassPtr<T>;
  using Items = std::vector<Ptr>;

  CPrstLinkAttrBase(CPrstUserBase* owner, const char* column, std::string linkTable, bool owned)
      : CPrstAttrBase(owner, column, CDBType::unknown),
        m_table(std::move(linkTable)),
        m_owned(owned) {}

  const std::string& linkTable() const { return m_table; }
  const Items& items() const {
    _ensureLoaded();
    return m_items;
  }
  std::size_t size() const { return items().size(); }
  void set(Items items) {
    _ensureLoaded();
    m_items = std::move(items);
    _touch();
  }
  void add(Ptr item) {
    _ensureLoaded();
    m_items.push_back(std::move(item));
    _touch();
  }
  void clear() { set({}); }

  bool stored() const override { return false; }
  CDBValue toDB() const override { return {}; }
  void fromDB(const CDBValue&) override {}
  // The targets' keys joined by ",".
  std::string text() const override {
    std::string out;
    for (const auto& p : items()) out += (out.empty() ? "" : ",") + std::to_string(p.pk());
    return out;
  }
  void setText(std::string_view) override {
    PRST_THROW("CPrstLinkAttrBase::setText",
               nuv::CMessage("Cannot set attribute '%1'.").pushs(column()),
               nuv::CMessage("Links are set by their record."));
  }
  void _commitToClone() override {
    if (m_loaded) m_clone = m_items;
  }
  void _rollbackFromClone() override {
    m_items = m_clone;
    _clean();
  }

  void _onRefresh() override {
    m_loaded = false;
    m_items.clear();
    m_clone.clear();
    _clean();
  }

  bool _writesOtherRows() const override { return true; }
  void _afterWrite(CIPrstSession& session) override {
    if (!m_loaded) return;  // never read, so never changed
    for (const auto& p : m_items)
      if (T* t = p.get(); t && (t->isTransient() || t->isDirty())) session.commitObject(*t, false);
    if (!dirty()) return;
    std::vector<std::int32_t> pks;
    for (const auto& p : m_items) pks.push_back(p.pk());
    if (m_owned)
      for (const auto& old : m_clone)
        if (std::find(pks.begin(), pks.end(), old.pk()) == pks.end()) prstDeleteOwned(session, old);
    session.writeLinks(m_table, owner().pk(), column(), T::prototypeName(), pks);
    _clean();
  }
  void _onDelete(CIPrstSession& session) override {
    _ensureLoaded();
    if (m_owned)
      for (const auto& p : m_items) prstDeleteOwned(session, p);
    session.writeLinks(m_table, owner().pk(), column(), T::prototypeName(), {});
  }

 protected:
  Items& _mutableItems() {
    _ensureLoaded();
    _touch();
    return m_items;
  }

 private:
  void _ensureLoaded() const {
    if (m_loaded) return;
    m_loaded = true;
    CIPrstSession* s = owner().session();
    if (!s || owner().isTransient()) return;
    for (std::int32_t pk : s->loadLinks(m_table, owner().pk(), column()))
      m_items.emplace_back(s, pk);
    m_clone = m_items;
  }

  std::string m_table;
  bool m_owned;
  mutable bool m_loaded = false;
  mutable Items m_items;
  mutable Items m_clone;
};

template <class T>
class CPrstLink2ManyAttr : public CPrstLinkAttrBase<T> {
 public:
  CPrstLink2ManyAttr(CPrstUserBase* owner, const char* column, std::string linkTable,
                     bool owned = true)
      : CPrstLinkAttrBase<T>(owner, column, std::move(linkTable), owned) {}

  // Removes the target with that key; false when it is not linked.
  bool remove(std::int32_t pk) {
    auto& items = this->_mutableItems();
    auto it =
        std::find_if(items.begin(), items.end(), [pk](const auto& p) { return p.pk() == pk; });
    if (it == items.end()) return false;
    items.erase(it);
    return true;
  }
};

template <class T>
class CPrstLinkByIndexAttr : public CPrstLinkAttrBase<T> {
 public:
  using Ptr = typename CPrstLinkAttrBase<T>::Ptr;
  CPrstLinkByIndexAttr(CPrstUserBase* owner, const char* column, std::string linkTable,
                       bool owned = true)
      : CPrstLinkAttrBase<T>(owner, column, std::move(linkTable), owned) {}

  // The target at a position; a position past the end throws.
  const Ptr& at(std::size_t index) const {
    _check(index, "CPrstLinkByIndexAttr::at");
    return this->items()[index];
  }
  // Replaces the target at a position; one past the end appends.
  void set(std::size_t index, Ptr item) {
    if (index == this->size()) return this->add(std::move(item));
    _check(index, "CPrstLinkByIndexAttr::set");
    this->_mutableItems()[index] = std::move(item);
  }
  using CPrstLinkAttrBase<T>::set;
  void insert(std::size_t index, Ptr item) {
    if (index > this->size()) _check(index, "CPrstLinkByIndexAttr::insert");
    auto& items = this->_mutableItems();
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
  }
  void erase(std::size_t index) {
    _check(index, "CPrstLinkByIndexAttr::erase");
    auto& items = this->_mutableItems();
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
  }

 private:
  void _check(std::size_t index, const char* context) const {
    if (index < this->size()) return;
    PRST_THROW(context,
               nuv::CMessage("No element %1 in link '%2'.").push(index).pushs(this->column()),
               nuv::CMessage("Index out of range."));
  }
};
