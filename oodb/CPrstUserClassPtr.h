#pragma once
// The handle through which code holds a persistent object, and the list of
// handles a query returns.
//
// A handle is lazy: it may carry only a row key and its session; the first
// dereference loads the object (_createIf), from the session's cache or the
// database. A handle with neither object nor key fails on dereference with
// "Cannot dereference persistent object of type '%1'." / "No such object."
// without touching the database. A secured handle (from a query run with
// CPrstSelectOptions::securedAccess) checks read rights on every dereference.
// Handles must not outlive the session they came from.

#include <cstdint>
#include <memory>
#include <vector>

#include "oodb/CIPrstSession.h"
#include "oodb/CPrstException.h"
#include "oodb/CPrstSimpleID.h"
#include "oodb/CPrstUserBase.h"
#include "oodb/CSecurityStrategy.h"

template <class T>
class CPrstUserClassPtr {
 public:
  CPrstUserClassPtr() = default;
  CPrstUserClassPtr(nuv::CGeneralPtr<T> object,  // NOLINT: a loaded object is a handle
                    std::shared_ptr<const CAccessToken> securedBy = {})
      : m_obj(std::move(object)), m_token(std::move(securedBy)) {
    if (m_obj) m_pk = m_obj->pk();
  }
  CPrstUserClassPtr(CIPrstSession* session, std::int32_t pk) : m_session(session), m_pk(pk) {}

  T* operator->() const { return _createIf(); }
  T& operator*() const { return *_createIf(); }
  // The object if loaded, without loading it.
  T* get() const { return m_obj.get(); }
  nuv::CGeneralPtr<T> shared() const {
    _createIf();
    return m_obj;
  }

  bool loaded() const { return m_obj != nullptr; }
  bool empty() const { return !m_obj && m_pk == CPrstSimpleID::kNoPK; }
  explicit operator bool() const { return !empty(); }
  std::int32_t pk() const { return m_obj ? m_obj->pk() : m_pk; }
  bool secured() const { return m_token != nullptr; }
  void reset() { *this = CPrstUserClassPtr(); }

  // Loads the object when not loaded yet; throws when there is none.
  T* _createIf() const {
    if (!m_obj) {
      if (m_pk == CPrstSimpleID::kNoPK || !m_session) _noSuchObject();
      m_obj = std::dynamic_pointer_cast<T>(m_session->find(T::prototypeName(), m_pk));
      if (!m_obj) _noSuchObject();
    }
    if (m_token) CSecurityStrategy::checkRead(*m_obj, *m_token);
    return m_obj.get();
  }

  friend bool operator==(const CPrstUserClassPtr& a, const CPrstUserClassPtr& b) {
    return a.m_obj ? a.m_obj == b.m_obj : (!b.m_obj && a.m_pk == b.m_pk);
  }

 private:
  [[noreturn]] static void _noSuchObject() {
    PRST_THROW("CPrstUserClassPtr::_createIf",
               nuv::CMessage("Cannot dereference persistent object of type '%1'.")
                   .pushs(T::prototypeName()),
               nuv::CMessage("No such object."));
  }

  mutable nuv::CGeneralPtr<T> m_obj;
  CIPrstSession* m_session = nullptr;
  std::int32_t m_pk = CPrstSimpleID::kNoPK;
  std::shared_ptr<const CAccessToken> m_token;
};

template <class T>
class CPrstUserClassPtrList : public std::vector<CPrstUserClassPtr<T>> {
 public:
  CPrstUserClassPtrList() = default;
  CPrstUserClassPtrList(CIPrstSession* session, CPrstRawPage page) : m_session(session) {
    m_cursor = std::move(page.cursor);
    this->reserve(page.objects.size());
    for (auto& o : page.objects) {
      auto typed = std::dynamic_pointer_cast<T>(o);
      if (!typed)
        PRST_THROW("CPrstUserClassPtrList::CPrstUserClassPtrList",
                   nuv::CMessage("Cannot make a %1 of an object of type '%2'.")
                       .pushs(T::prototypeName())
                       .pushs(o->typeName()),
                   nuv::CMessage("Wrong subclass."));
      this->emplace_back(std::move(typed), page.securedBy);
    }
    m_securedBy = std::move(page.securedBy);
  }

  CIPrstSession* session() const { return m_session; }
  // False when the query may have more rows than those fetched so far.
  bool exhausted() const { return !m_cursor || m_cursor->exhausted(); }
  // The next page of the query that filled this list (empty at the end).
  CPrstUserClassPtrList selectNext(std::size_t rows) const {
    if (!m_session || !m_cursor) return CPrstUserClassPtrList(m_session, CPrstRawPage{});
    return CPrstUserClassPtrList(m_session, m_session->selectNextRaw(m_cursor, rows));
  }

 private:
  CIPrstSession* m_session = nullptr;
  std::shared_ptr<CPrstCursor> m_cursor;
  std::shared_ptr<const CAccessToken> m_securedBy;
};

// Deletes an object a reference or link owns (loading it when needed).
template <class T>
void prstDeleteOwned(CIPrstSession& session, const CPrstUserClassPtr<T>& target) {
  nuv::CGeneralPtr<CPrstUserBase> obj = target.get()
                                            ? nuv::CGeneralPtr<CPrstUserBase>(target.shared())
                                            : session.find(T::prototypeName(), target.pk());
  if (!obj || obj->isTransient()) return;
  obj->deletePersistent();
  session.commitObject(*obj, false);
}

template <class T>
CPrstUserClassPtr<T> CIPrstSession::createTransient() {
  return CPrstUserClassPtr<T>(std::dynamic_pointer_cast<T>(createTransient(T::prototypeName())));
}

template <class T>
CPrstUserClassPtr<T> CIPrstSession::create() {
  auto p = createTransient<T>();
  p->commit();
  return p;
}

template <class T>
CPrstUserClassPtr<T> CIPrstSession::findPK(std::int32_t pk) {
  return CPrstUserClassPtr<T>(std::dynamic_pointer_cast<T>(find(T::prototypeName(), pk)));
}

template <class T>
CPrstUserClassPtrList<T> CIPrstSession::select(const std::string& statement,
                                               const nuv::CStringMap& args,
                                               const CPrstSelectOptions& options) {
  return CPrstUserClassPtrList<T>(this, selectRaw(T::prototypeName(), statement, args, options));
}
