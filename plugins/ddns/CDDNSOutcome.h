#pragma once
// What became of one attempt to send an update, in the words an operator
// needs, and whether another attempt may do better: a DNS server that did
// not answer or answered SERVFAIL may be busy or restarting; one that
// refused or did not accept the key will do so again until the operator
// changes something.

#include <cstdint>
#include <string>

class CDDNSOutcome {
 public:
  enum class Cause : std::uint8_t {
    none,
    timeout,
    network,
    servfail,
    refused,
    notauth,
    badkey,
    badsig,
    badtime,
    notzone,
    formerr,
    badAnswer,
    invalid,
    other,
    count
  };

  CDDNSOutcome() = default;

  // From an answer: its rcode, the error field of its TSIG record (0 when
  // it has none) and whether it is a trustworthy answer to the update (its
  // identifier matches and, for a signed update, its signature verifies).
  static CDDNSOutcome fromAnswer(unsigned rcode, unsigned tsigError, bool trusted);
  // No answer within the time-out.
  static CDDNSOutcome timeout();
  // The update could not be sent; detail says why.
  static CDDNSOutcome network(const std::string& detail);
  // The update could not be built or signed; detail says why.
  static CDDNSOutcome invalid(const std::string& detail);

  bool ok() const { return m_cause == Cause::none; }
  bool retry() const;
  Cause cause() const { return m_cause; }
  // "NOTAUTH (BADKEY): the DNS server does not know the TSIG key".
  const std::string& text() const { return m_text; }

  // The failure counter of a cause: "failures.badkey".
  static const char* counterName(Cause cause);

 private:
  CDDNSOutcome(Cause cause, std::string text) : m_cause(cause), m_text(std::move(text)) {}

  Cause m_cause = Cause::none;
  std::string m_text;
};
