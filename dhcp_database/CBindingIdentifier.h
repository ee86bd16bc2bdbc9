#pragma once
// The key of a binding or pending, whatever its protocol. Keys compare and
// assign through double dispatch: the operator calls a virtual on the
// right-hand key, which calls the _final* overload for its own concrete
// type on the left-hand key. Only keys of the same kind meet in a final
// overload that works; every other pairing fails with "Type mismatch.".
//
// A key also tells a record how to use it: the statement arguments it
// selects by, copying it into the record and refreshing it from one.

#include <memory>
#include <string>

#include "standard/CStringMap.h"

class CBinding6Identifier;
class CPrstBinding;
class CPrstPending;

class CBindingIdentifier {
 public:
  virtual ~CBindingIdentifier() = default;

  bool operator<(const CBindingIdentifier& rhs) const { return rhs._lessThan(*this); }
  bool operator==(const CBindingIdentifier& rhs) const { return rhs._equal(*this); }
  bool operator!=(const CBindingIdentifier& rhs) const { return !(*this == rhs); }
  CBindingIdentifier& operator=(const CBindingIdentifier& rhs) {
    rhs._assign(*this);
    return *this;
  }

  // Empty for the base; the keys print their fields.
  virtual std::string string() const { return {}; }
  virtual std::unique_ptr<CBindingIdentifier> clone() const = 0;
  virtual void clear() = 0;

  // The record's statement arguments for this key.
  virtual void setArgs(const CPrstBinding& record, nuv::CStringMap& args) const = 0;
  virtual void setArgs(const CPrstPending& record, nuv::CStringMap& args) const = 0;
  // Copies the key into the record.
  virtual void applyBindingID(CPrstBinding& record) const = 0;
  virtual void applyBindingID(CPrstPending& record) const = 0;
  // Takes the key from the record.
  virtual void cacheUpdate(const CPrstBinding& record) = 0;
  virtual void cacheUpdate(const CPrstPending& record) = 0;

 protected:
  // Keys call each other's dispatch operations.
  friend class CBinding6Identifier;

  CBindingIdentifier() = default;
  CBindingIdentifier(const CBindingIdentifier&) = default;

  // First dispatch, on the right-hand key; lhs is the left-hand key.
  virtual bool _lessThan(const CBindingIdentifier& lhs) const { return lhs._finalLessThan(*this); }
  virtual bool _equal(const CBindingIdentifier& lhs) const { return lhs._finalEqual(*this); }
  virtual void _assign(CBindingIdentifier& lhs) const { lhs._finalAssign(*this); }

  // Second dispatch, on the left-hand key with the right-hand key's type.
  // These fail; a key overrides the overload of its own type.
  virtual bool _finalLessThan(const CBindingIdentifier& rhs) const;
  virtual bool _finalLessThan(const CBinding6Identifier& rhs) const;
  virtual bool _finalEqual(const CBindingIdentifier& rhs) const;
  virtual bool _finalEqual(const CBinding6Identifier& rhs) const;
  virtual void _finalAssign(const CBindingIdentifier& rhs);
  virtual void _finalAssign(const CBinding6Identifier& rhs);

  [[noreturn]] void _mismatch(const char* context, const char* what,
                              const CBindingIdentifier& rhs) const;
};
