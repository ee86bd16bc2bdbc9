#include "plugins/ddns/CDDNSOutcome.h"

#include <ldns/ldns.h>

namespace {

using Cause = CDDNSOutcome::Cause;

struct Row {
  Cause cause;
  const char* counter;
  const char* text;  // for causes made from an answer
};

// clang-format off
constexpr Row kRows[] = {
  {Cause::none, "", "NOERROR"},
  {Cause::timeout, "failures.timeout", "no answer from the DNS server (timed out)"},
  {Cause::network, "failures.network", "cannot reach the DNS server"},
  {Cause::servfail, "failures.servfail", "SERVFAIL: the DNS server failed to apply the update"},
  {Cause::refused, "failures.refused", "REFUSED: the DNS server does not allow this update (is the zone open to updates signed with this key?)"},
  {Cause::notauth, "failures.notauth", "NOTAUTH: the DNS server is not authoritative for the zone or does not accept the update from this key"},
  {Cause::badkey, "failures.badkey", "NOTAUTH (BADKEY): the DNS server does not know the TSIG key"},
  {Cause::badsig, "failures.badsig", "NOTAUTH (BADSIG): the TSIG secret differs from the DNS server's"},
  {Cause::badtime, "failures.badtime", "NOTAUTH (BADTIME): the clocks of this host and the DNS server differ by more than five minutes"},
  {Cause::notzone, "failures.notzone", "NOTZONE: a name of the update is not in the zone"},
  {Cause::formerr, "failures.formerr", "FORMERR: the DNS server cannot read the update"},
  {Cause::badAnswer, "failures.bad_answer", "the answer is not the DNS server's answer to this update (wrong identifier or TSIG signature)"},
  {Cause::invalid, "failures.invalid", "the update cannot be made"},
  {Cause::other, "failures.other", "the DNS server did not apply the update"},
};
// clang-format on

static_assert(sizeof kRows / sizeof kRows[0] == static_cast<std::size_t>(Cause::count),
              "one row per cause");

const Row& row(Cause cause) {
  return kRows[static_cast<std::size_t>(cause)];
}

// TSIG error codes (RFC 8945 5.3.2).
constexpr unsigned kBadSig = 16;
constexpr unsigned kBadKey = 17;
constexpr unsigned kBadTime = 18;

}  // namespace

CDDNSOutcome CDDNSOutcome::fromAnswer(unsigned rcode, unsigned tsigError, bool trusted) {
  Cause cause = Cause::other;
  switch (rcode) {
    case LDNS_RCODE_NOERROR:
      cause = Cause::none;
      break;
    case LDNS_RCODE_SERVFAIL:
      cause = Cause::servfail;
      break;
    case LDNS_RCODE_REFUSED:
      cause = Cause::refused;
      break;
    case LDNS_RCODE_NOTZONE:
      cause = Cause::notzone;
      break;
    case LDNS_RCODE_FORMERR:
      cause = Cause::formerr;
      break;
    case LDNS_RCODE_NOTAUTH:
      cause = tsigError == kBadKey    ? Cause::badkey
              : tsigError == kBadSig  ? Cause::badsig
              : tsigError == kBadTime ? Cause::badtime
                                      : Cause::notauth;
      break;
    default:
      break;
  }
  // An answer that may not be the server's proves nothing, success included;
  // a TSIG error is told even so: the server cannot sign with a key it rejects.
  if (!trusted && (cause == Cause::none || cause == Cause::servfail))
    return CDDNSOutcome(Cause::badAnswer, row(Cause::badAnswer).text);
  if (cause == Cause::other) {
    const ldns_lookup_table* name = ldns_lookup_by_id(ldns_rcodes, static_cast<int>(rcode));
    return CDDNSOutcome(cause, std::string(name ? name->name : "RCODE " + std::to_string(rcode)) +
                                   ": " + row(cause).text);
  }
  return CDDNSOutcome(cause, row(cause).text);
}

CDDNSOutcome CDDNSOutcome::timeout() {
  return CDDNSOutcome(Cause::timeout, row(Cause::timeout).text);
}

CDDNSOutcome CDDNSOutcome::network(const std::string& detail) {
  return CDDNSOutcome(Cause::network, std::string(row(Cause::network).text) + " (" + detail + ")");
}

CDDNSOutcome CDDNSOutcome::invalid(const std::string& detail) {
  return CDDNSOutcome(Cause::invalid, std::string(row(Cause::invalid).text) + ": " + detail);
}

bool CDDNSOutcome::retry() const {
  return m_cause == Cause::timeout || m_cause == Cause::network || m_cause == Cause::servfail;
}

const char* CDDNSOutcome::counterName(Cause cause) {
  return row(cause).counter;
}
