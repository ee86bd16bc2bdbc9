#pragma once
// Turns a readable server socket into processed DHCPv6 messages. The
// leader thread reads the datagrams waiting (a few at most) into its own
// state's queue (udp_input) and defers the rest; once out of the reactor, the same thread answers a
// status query or parses, processes inside one transaction, runs the side
// commands, and replies (dispatch). The handler is shared by all worker
// threads and keeps nothing per packet: that lives in each CDHCP6TLS.

#include <cstdint>
#include <string>

#include "dhcp6_server/CDHCP6OutageLog.h"
#include "dhcp_server_common/CRawPktDataQueue.h"
#include "dhcp_server_common/CTLSPool.h"
#include "extended/CMulticastCallback.h"

class CDHCP6TLS;
class CICommandQueueTask;
class CIDHCPController;
class CLogSink;

class CDHCP6Handler : public CMulticastCallback {
 public:
  CDHCP6Handler(CIDHCPController* controller, CICommandQueueTask* task,
                CTLSPool<CDHCP6TLS>& tlsPool);

  int udp_input(nuv::CSockDgramMcast& socket) override;
  // argument: the CDHCP6TLS of the thread that read the datagram.
  int dispatch(void* argument) override;
  // A datagram received by other means than the thread's socket (bytes,
  // sender, destination, arrival interface): handled as if read, on the
  // calling thread, which must be tls's owner.
  void deliver(CDHCP6TLS& tls, const std::uint8_t* bytes, std::size_t length,
               const nuv::CEndpoint& from, const nuv::CIPAddress& to, unsigned interfaceIndex);

 protected:
  void _processUDPInput(CDHCP6TLS& tls);
  // True when the datagram was a status query (answered or not).
  bool _queryResponse(CDHCP6TLS& tls, const CRawPktData& packet);
  int _service(CDHCP6TLS& tls, std::uint8_t messageType, std::uint16_t& port);
  void _unicastToSource(CDHCP6TLS& tls, unsigned requestLength, std::uint8_t requestType,
                        std::uint16_t port);

 private:
  // Datagrams read per wake-up, at most: under load, fewer trips through
  // the reactor and fewer hand-overs of the lead between workers.
  static constexpr int kBatch = 8;
  // Reads one datagram from the thread's socket (first: the reactor said
  // one waits; later ones only if already there); false when there was
  // none or the socket failed.
  bool _receive(CDHCP6TLS& tls, bool first);
  // The datagram read into packet, from the sender, is the thread's to
  // process.
  void _accept(CDHCP6TLS& tls, CRawPktDataPtr packet, const nuv::CEndpoint& from);
  // Parse and node context; the message type, or -1 when the extension
  // vetoed the datagram.
  int _parse(CDHCP6TLS& tls, const CRawPktData& packet);
  // The reply's relay path, transaction-id and Server Identifier; the
  // request's transaction-id.
  std::uint32_t _startReply(CDHCP6TLS& tls);
  void _record(const nuv::CException& e);
  // Whether a line about an unreadable datagram may be written now; a
  // flood of them writes a few and then how many were left out.
  bool _admitMalformed(CDHCP6TLS& tls);
  CLogSink& _dhcpLog() const;

  CIDHCPController* m_controller;  // the host's; not owned
  CICommandQueueTask* m_task;      // the engine; not owned
  CTLSPool<CDHCP6TLS>& m_tlsPool;
  CDHCP6OutageLog m_outage;
};
