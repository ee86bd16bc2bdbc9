#include "dhcp_server_common/CLeaseEvent.h"

CLeaseEvent::CLeaseEvent(int serverIndex, std::string type, std::string cls,
                         const nuv::CIPAddress& a, const CBindingIdentifier& id, std::string host,
                         std::int32_t pool, long instance)
    : CAppEvent(serverIndex, std::move(type), std::move(cls), instance),
      address(a),
      bindingID(id.clone()),
      hostname(std::move(host)),
      poolOID(pool) {}

void CLeaseEvent::sm(nuv::CStringMap& out) const {
  CAppEvent::sm(out);
  out.set("address", address.string());
  out.set("binding_id", bindingID->string());
  // An empty name is published as an empty value, never left out.
  out.set("hostname", hostname);
  out.set_int64("pool_oid", poolOID);
  out.set_int64("proto_family", protoFamily());
}
