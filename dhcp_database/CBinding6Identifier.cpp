#include "dhcp_database/CBinding6Identifier.h"

#include "dhcp_database/CPrstBinding.h"
#include "dhcp_database/CPrstPending.h"
#include "oodb/CPrstValueTraits.h"

void CBinding6Identifier::args(nuv::CStringMap& out) const {
  out.set("CLIENT_ID", CPrstValueTraits<nuv::CHexStore>::text(DUID()));
  // Printed signed, as the statements' 32-bit arguments are read.
  out.set("IATYPE", std::to_string(static_cast<std::int32_t>(IAType().value())));
  out.set("IAID", std::to_string(static_cast<std::int32_t>(IAID())));
}

void CBinding6Identifier::setArgs(const CPrstBinding& record, nuv::CStringMap& out) const {
  record.setArgs(*this, out);
}

void CBinding6Identifier::setArgs(const CPrstPending& record, nuv::CStringMap& out) const {
  record.setArgs(*this, out);
}

void CBinding6Identifier::applyBindingID(CPrstBinding& record) const {
  record.applyBindingID(*this);
}

void CBinding6Identifier::applyBindingID(CPrstPending& record) const {
  record.applyBindingID(*this);
}

void CBinding6Identifier::cacheUpdate(const CPrstBinding& record) {
  record.bindingIDUpdate(*this);
}

void CBinding6Identifier::cacheUpdate(const CPrstPending& record) {
  record.bindingIDUpdate(*this);
}
