#include "exp_eval/CConversionFunctions.h"

#include "standard/CIPAddress.h"

namespace nuv {

namespace {

void toBoolean(const CFunctionCall& call, CMultiVariant& results) {
  results.emplace_back(call[0].boolean());
}

void toString(const CFunctionCall& call, CMultiVariant& results) {
  results.emplace_back(call[0].string());
}

// A byte sequence's bytes as characters (a text carried in an option, say).
void text(const CFunctionCall& call, CMultiVariant& results) {
  const CVariant& v = call[0];
  if (v.type() != CVariantType::dt_hexstore) return toString(call, results);
  const CHexStore h = v.hexstore();
  results.emplace_back(std::string(reinterpret_cast<const char*>(h.data()), h.size()));
}

void toInteger(const CFunctionCall& call, CMultiVariant& results) {
  results.emplace_back(call[0].integer());
}

void bytes(const CFunctionCall& call, CMultiVariant& results) {
  results.emplace_back(call[0].hexstore());
}

// A hardware address reads best as 00:11:22:33:44:55.
void mac(const CFunctionCall& call, CMultiVariant& results) {
  CHexStore h = call[0].hexstore();
  h.setSeparator(":");
  results.emplace_back(std::move(h));
}

void ip(const CFunctionCall& call, CMultiVariant& results) {
  results.emplace_back(call[0].ipaddress());
}

void ipMap(const CFunctionCall& call, CMultiVariant& results) {
  results.emplace_back(call[0].ipaddress().mapTo(CIPAddress::ipv6));
}

void ipUnmap(const CFunctionCall& call, CMultiVariant& results) {
  const CIPAddress a = call[0].ipaddress();
  if (a.type() == CIPAddress::ipv6 && !a.isMappedIPv4())
    call.fail(CMessage("Address %1 is not an IPv4-mapped address.").pusho(a));
  results.emplace_back(a.mapTo(CIPAddress::ipv4));
}

void unknown(const CFunctionCall&, CMultiVariant& results) {
  results.emplace_back();
}

}  // namespace

void CConversionFunctions::install(CFunctionTable& table) {
  CFunctionCall::add(table, "COND", 1, 1, toBoolean);
  CFunctionCall::add(table, "BOOL", 1, 1, toBoolean);
  CFunctionCall::add(table, "STR", 1, 1, toString);
  CFunctionCall::add(table, "STRING", 1, 1, toString);
  CFunctionCall::add(table, "TEXT", 1, 1, text);
  CFunctionCall::add(table, "INT", 1, 1, toInteger);
  CFunctionCall::add(table, "INTEGER", 1, 1, toInteger);
  CFunctionCall::add(table, "BYTES", 1, 1, bytes);
  CFunctionCall::add(table, "MAC", 1, 1, mac);
  CFunctionCall::add(table, "IP", 1, 1, ip);
  CFunctionCall::add(table, "IP.MAP", 1, 1, ipMap);
  CFunctionCall::add(table, "IP.UNMAP", 1, 1, ipUnmap);
  CFunctionCall::add(table, "UNKNOWN", 0, 0, unknown);
}

}  // namespace nuv
