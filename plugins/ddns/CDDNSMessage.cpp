#include "plugins/ddns/CDDNSMessage.h"

#include <nettle/base64.h>

#include <cstdlib>
#include <vector>

#include "dhcp_base/CDNSNameIO.h"
#include "standard/CException.h"

namespace {

constexpr const char* kBuild = "CDDNSMessage::CDDNSMessage";
// Seconds the signing time may differ from the DNS server's clock (RFC 8945).
constexpr std::uint16_t kFudge = 300;

using Rdf = std::unique_ptr<ldns_rdf, void (*)(ldns_rdf*)>;
using RrList = std::unique_ptr<ldns_rr_list, void (*)(ldns_rr_list*)>;

[[noreturn]] void cannotBuild(const nuv::CMessage& why) {
  NUV_THROW(kBuild, "Cannot build the DNS update.", why);
}

Rdf dname(const std::string& text) {
  ldns_rdf* rdf =
      text.empty() ? nullptr : ldns_dname_new_frm_str(CDDNSMessage::absoluteName(text).c_str());
  if (!rdf) cannotBuild(nuv::CMessage("'%1' is not a domain name.").pushs(text));
  return Rdf(rdf, ldns_rdf_deep_free);
}

Rdf addressData(const nuv::CIPAddress& address) {
  const bool v4 = address.type() == nuv::CIPAddress::ipv4;
  if (!v4 && address.type() != nuv::CIPAddress::ipv6)
    cannotBuild("An address of the update is not set.");
  return Rdf(ldns_rdf_new_frm_data(v4 ? LDNS_RDF_TYPE_A : LDNS_RDF_TYPE_AAAA, address.raw_len(),
                                   address.raw()),
             ldns_rdf_deep_free);
}

ldns_rr_type addressType(const nuv::CIPAddress& address) {
  return address.type() == nuv::CIPAddress::ipv4 ? LDNS_RR_TYPE_A : LDNS_RR_TYPE_AAAA;
}

bool inZone(const ldns_rdf* name, const ldns_rdf* zone) {
  return ldns_dname_compare(name, zone) == 0 || ldns_dname_is_subdomain(name, zone);
}

void requireInZone(const ldns_rdf* owner, const std::string& ownerText, const ldns_rdf* zone,
                   const std::string& zoneText) {
  if (!inZone(owner, zone))
    cannotBuild(
        nuv::CMessage("The name '%1' is not in zone '%2'.").pushs(ownerText).pushs(zoneText));
}

// One record of the update section (RFC 2136 2.5): class IN adds it, class
// NONE removes the one record with this data, class ANY without data
// removes every record of the type.
void push(ldns_rr_list* list, const ldns_rdf* owner, ldns_rr_type type, ldns_rr_class cls,
          std::uint32_t ttl, Rdf data) {
  ldns_rr* rr = ldns_rr_new();
  ldns_rr_set_owner(rr, ldns_rdf_clone(owner));
  ldns_rr_set_type(rr, type);
  ldns_rr_set_class(rr, cls);
  ldns_rr_set_ttl(rr, ttl);
  if (data) ldns_rr_push_rdf(rr, data.release());
  ldns_rr_list_push_rr(list, rr);
}

// Whether the text decodes as base64 to at least one byte.
bool isBase64(const std::string& text) {
  std::vector<std::uint8_t> out(BASE64_DECODE_LENGTH(text.size()) + 1);
  base64_decode_ctx ctx;
  base64_decode_init(&ctx);
  std::size_t length = out.size();
  return base64_decode_update(&ctx, &length, out.data(), text.size(), text.data()) &&
         base64_decode_final(&ctx) && length > 0;
}

Rdf none() {
  return Rdf(nullptr, ldns_rdf_deep_free);
}

void forward(ldns_rr_list* list, const CDDNSJob& job, const ldns_rdf* zone, std::uint32_t ttl) {
  const CDDNSUpdate& u = job.update;
  const Rdf owner = dname(u.fqdn);
  requireInZone(owner.get(), u.fqdn, zone, u.zone);
  if (job.action == CDDNSJob::Action::add) {
    bool cleared[2] = {false, false};  // A, AAAA
    for (const auto& a : u.addresses) {
      bool& done = cleared[addressType(a) == LDNS_RR_TYPE_AAAA];
      if (!done) push(list, owner.get(), addressType(a), LDNS_RR_CLASS_ANY, 0, none());
      done = true;
    }
  }
  for (const auto& a : u.addresses)
    if (job.action == CDDNSJob::Action::add)
      push(list, owner.get(), addressType(a), LDNS_RR_CLASS_IN, ttl, addressData(a));
    else
      push(list, owner.get(), addressType(a), LDNS_RR_CLASS_NONE, 0, addressData(a));
}

void reverse(ldns_rr_list* list, const CDDNSJob& job, const ldns_rdf* zone, std::uint32_t ttl) {
  const CDDNSUpdate& u = job.update;
  const Rdf target = dname(u.fqdn);
  for (const auto& a : u.addresses) {
    const std::string ownerText = CDDNSMessage::reverseName(a);
    const Rdf owner = dname(ownerText);
    requireInZone(owner.get(), ownerText, zone, u.zone);
    if (job.action == CDDNSJob::Action::add) {
      push(list, owner.get(), LDNS_RR_TYPE_PTR, LDNS_RR_CLASS_ANY, 0, none());
      push(list, owner.get(), LDNS_RR_TYPE_PTR, LDNS_RR_CLASS_IN, ttl,
           Rdf(ldns_rdf_clone(target.get()), ldns_rdf_deep_free));
    } else {
      push(list, owner.get(), LDNS_RR_TYPE_PTR, LDNS_RR_CLASS_NONE, 0,
           Rdf(ldns_rdf_clone(target.get()), ldns_rdf_deep_free));
    }
  }
}

}  // namespace

CDDNSMessage::CDDNSMessage(const CDDNSJob& job, std::uint32_t defaultTTL)
    : m_packet(nullptr, ldns_pkt_free) {
  if (job.update.addresses.empty()) cannotBuild("The update holds no addresses.");
  Rdf zone = dname(job.update.zone);
  const RrList records(ldns_rr_list_new(), ldns_rr_list_deep_free);
  const std::uint32_t ttl = job.update.ttl ? job.update.ttl : defaultTTL;
  if (job.records == CDDNSJob::Records::forward)
    forward(records.get(), job, zone.get(), ttl);
  else
    reverse(records.get(), job, zone.get(), ttl);
  // The packet takes the zone name and copies the records.
  m_packet.reset(
      ldns_update_pkt_new(zone.release(), LDNS_RR_CLASS_IN, nullptr, records.get(), nullptr));
  ldns_pkt_set_rd(m_packet.get(), false);
  ldns_pkt_set_random_id(m_packet.get());
}

void CDDNSMessage::sign(const std::string& keyName, const std::string& secret) {
  // Checked here: ldns leaks the parts of the record it made when the
  // secret does not decode.
  if (!isBase64(secret))
    NUV_THROW("CDDNSMessage::sign",
              nuv::CMessage("Cannot sign the DNS update with TSIG key '%1'.").pushs(keyName),
              "The key's secret is not base64 text.");
  const ldns_status status = ldns_pkt_tsig_sign(m_packet.get(), absoluteName(keyName).c_str(),
                                                secret.c_str(), kFudge, algorithm(), nullptr);
  if (status != LDNS_STATUS_OK)
    NUV_THROW("CDDNSMessage::sign",
              nuv::CMessage("Cannot sign the DNS update with TSIG key '%1'.").pushs(keyName),
              nuv::CMessage(ldns_get_errorstr_by_id(status)));
}

const char* CDDNSMessage::algorithm() {
  return "hmac-sha256.";
}

std::string CDDNSMessage::absoluteName(const std::string& name) {
  // "host\." ends in a dot of its label, not the root's.
  return CDNSNameIO::withoutRootDot(name).size() < name.size() ? name : name + ".";
}

std::string CDDNSMessage::reverseName(const nuv::CIPAddress& address) {
  const Rdf data = addressData(address);
  const Rdf name(ldns_rdf_address_reverse(data.get()), ldns_rdf_deep_free);
  char* text = ldns_rdf2str(name.get());
  std::string out = text ? text : "";
  std::free(text);
  if (!out.empty() && out.back() == '.') out.pop_back();
  return out;
}
