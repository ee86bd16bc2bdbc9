#include "plugins/ddns/CDDNSTransport.h"

#include <memory>

namespace {

using Resolver = std::unique_ptr<ldns_resolver, void (*)(ldns_resolver*)>;
using Packet = std::unique_ptr<ldns_pkt, void (*)(ldns_pkt*)>;
using Rdf = std::unique_ptr<ldns_rdf, void (*)(ldns_rdf*)>;

// The error field of the answer's TSIG record; 0 without one.
unsigned tsigError(const ldns_pkt* answer) {
  const ldns_rr* tsig = ldns_pkt_tsig(answer);
  if (!tsig || ldns_rr_rd_count(tsig) < 6) return 0;
  return ldns_rdf2native_int16(ldns_rr_rdf(tsig, 5));
}

}  // namespace

CDDNSOutcome CDDNSTransport::exchange(const CDDNSMessage& message, const nuv::CEndpoint& server,
                                      const std::string& keyName, const std::string& secret,
                                      std::uint32_t timeoutMs) {
  const nuv::CIPAddress& address = server.address();
  if (!address.isValid()) return CDDNSOutcome::invalid("the update names no DNS server");
  // One resolver per exchange: ldns marks a server that failed once as
  // unreachable for the resolver's lifetime, and a retry must try it again.
  Resolver resolver(ldns_resolver_new(), ldns_resolver_deep_free);
  const Rdf ns(ldns_rdf_new_frm_data(
                   address.type() == nuv::CIPAddress::ipv4 ? LDNS_RDF_TYPE_A : LDNS_RDF_TYPE_AAAA,
                   address.raw_len(), address.raw()),
               ldns_rdf_deep_free);
  ldns_resolver_push_nameserver(resolver.get(), ns.get());
  ldns_resolver_set_port(resolver.get(), server.port() ? server.port() : 53);
  ldns_resolver_set_timeout(resolver.get(),
                            timeval{static_cast<time_t>(timeoutMs / 1000),
                                    static_cast<suseconds_t>(timeoutMs % 1000) * 1000});
  ldns_resolver_set_retry(resolver.get(), 1);  // the sender retries, with a pause
  ldns_resolver_set_retrans(resolver.get(), 0);
  if (!keyName.empty()) {
    // ldns verifies the answer's signature with these.
    ldns_resolver_set_tsig_keyname(resolver.get(), CDDNSMessage::absoluteName(keyName).c_str());
    ldns_resolver_set_tsig_algorithm(resolver.get(), CDDNSMessage::algorithm());
    ldns_resolver_set_tsig_keydata(resolver.get(), secret.c_str());
  }

  ldns_pkt* raw = nullptr;
  const ldns_status status = ldns_send(&raw, resolver.get(), message.packet());
  const Packet answer(raw, ldns_pkt_free);
  if (!answer) {
    if (status == LDNS_STATUS_NETWORK_ERR) return CDDNSOutcome::timeout();
    return CDDNSOutcome::network(ldns_get_errorstr_by_id(status));
  }
  const bool trusted = status == LDNS_STATUS_OK &&
                       ldns_pkt_id(answer.get()) == ldns_pkt_id(message.packet()) &&
                       ldns_pkt_qr(answer.get());
  return CDDNSOutcome::fromAnswer(ldns_pkt_get_rcode(answer.get()), tsigError(answer.get()),
                                  trusted);
}
