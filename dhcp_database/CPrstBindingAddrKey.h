#pragma once
// The column ADDR_KEY of bindings and pendings: their address as 32
// lower-case hex digits, so that text order is address order (range
// queries walk an index) and a unique index holds each address once per
// table, whichever server writes it. The record sets it whenever it sets
// its address; it is internal, not part of the text form. An unset
// address stores NULL, which the unique index lets any number of rows hold.

#include <string>
#include <string_view>

#include "oodb/CPrstAttr.h"
#include "standard/CIPAddress.h"

class CPrstBindingAddrKey : public CPrstAttr<std::string> {
 public:
  static constexpr std::size_t kDigits = 32;

  explicit CPrstBindingAddrKey(CPrstUserBase* owner) : CPrstAttr(owner, "ADDR_KEY") {}

  void follow(const nuv::CIPAddress& address) { set(of(address)); }
  CDBValue toDB() const override { return get().empty() ? CDBValue() : CPrstAttr::toDB(); }

  // The key of an address (an IPv4 one as its IPv4-mapped IPv6 address);
  // empty for an unset one.
  static std::string of(const nuv::CIPAddress& address);
  // The IPv6 address of a key; unset when the text is not a key.
  static nuv::CIPAddress address(std::string_view key);
};
