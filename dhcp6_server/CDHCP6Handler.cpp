#include "dhcp6_server/CDHCP6Handler.h"

#include <cerrno>

#include "dhcp6_server/CCmdDelayedInputFromNode6.h"
#include "dhcp6_server/CDHCP6ProcessorTable.h"
#include "dhcp6_server/CDHCP6TLS.h"
#include "dhcp_server_common/CIDHCPExtension.h"
#include "dhcp_server_common/CIDHCPLeaseQuery.h"
#include "dhcp_server_common/CIDHCPPktStore.h"
#include "extended/CDHCPMetricEnums.h"
#include "extended/CICommandQueueTask.h"
#include "extended/CIDHCPController.h"

namespace {

using M = CDHCPMetricEnums;

// The counter of each client message type the server accepts.
std::int32_t receivedMetric(std::uint8_t type) {
  switch (type) {
    case 1:
      return M::packetsV6Solicit;
    case 3:
      return M::packetsV6Request;
    case 4:
      return M::packetsV6Confirm;
    case 5:
      return M::packetsV6Renew;
    case 6:
      return M::packetsV6Rebind;
    case 8:
      return M::packetsV6Release;
    case 9:
      return M::packetsV6Decline;
    case 11:
      return M::packetsV6InfoReq;
    case 14:
      return M::packetsV6LeaseQuery;
    default:
      return -1;
  }
}

// The counter of each reply type the server sends.
std::int32_t sentMetric(std::uint8_t type) {
  switch (type) {
    case 2:
      return M::packetsV6Advertise;
    case 4:
      return M::packetsV6Confirm;
    case 7:
      return M::packetsV6Reply;
    case 10:
      return M::packetsV6Reconfig;
    case 13:
      return M::packetsV6RelayReply;
    case 15:
      return M::packetsV6LeaseQueryReply;
    default:
      return -1;
  }
}

// The database layer's failures: the transaction is already rolled back.
bool isDatabaseFailure(const nuv::CException& e) {
  return e.module == "oodb_persistence";
}

std::string hexText(const std::uint8_t* bytes, std::size_t length) {
  return nuv::CHexStore(bytes, length).string();
}

}  // namespace

CDHCP6Handler::CDHCP6Handler(CIDHCPController* controller, CICommandQueueTask* task,
                             CTLSPool<CDHCP6TLS>& tlsPool)
    : m_controller(controller), m_task(task), m_tlsPool(tlsPool) {}

std::string CDHCP6Handler::typeName(unsigned messageType) {
  static const char* const names[] = {
      "unknown",       "solicit",     "advertise",   "request",
      "confirm",       "renew",       "rebind",      "reply",
      "release",       "decline",     "reconfigure", "info-request",
      "relay-forward", "relay-reply", "lease-query", "lease-query-reply"};
  return messageType < 16 ? names[messageType] : std::to_string(messageType);
}

CLogSink& CDHCP6Handler::_dhcpLog() const {
  return **m_controller->dhcpLog();
}

void CDHCP6Handler::_record(const nuv::CException& e) {
  m_controller->exceptionFacade().record(e);
  m_controller->exceptionFacade().log();
}

int CDHCP6Handler::udp_input(nuv::CSockDgramMcast& socket) {
  CDHCP6TLS& tls = m_tlsPool.find(m_task->myThreadIndex());
  nuv::CSockDgramMcast& own = tls.socket();
  own.set_handle(socket.get_handle());

  CRawPktDataPtr packet = tls.rawPktData().free();
  std::size_t wanted = std::min<std::size_t>(tls.maxRecvDatagram(), packet->capacity());
  const int waiting = own.available();
  if (waiting >= 0 && static_cast<std::size_t>(waiting) < wanted)
    wanted = static_cast<std::size_t>(waiting);

  const ACE_Time_Value second(1);
  ssize_t length =
      own.recvFrom(packet->buffer(), wanted, tls.src(), 0, &second, &packet->dstAddr());
  if (length < 0) {
    const int err = errno;
    if (err == ETIME || err == EINTR || err == EAGAIN || err == EWOULDBLOCK) return 0;
    if (err != EMSGSIZE) {
      tls.stats().inc(M::packetsRecvFail);
      m_controller->log().log(nuv::sev_error,
                              nuv::CMessage("The server can't read from a daemon socket."), err);
      return 0;
    }
    tls.stats().inc(M::packetsRecvTrunc);
    _dhcpLog().log(nuv::sev_warning, nuv::CMessage("The server received a truncated datagram."));
    length = static_cast<ssize_t>(wanted);
  }
  if (length == 0) {
    tls.stats().inc(M::packetsRecvEmpty);
    _dhcpLog().log(nuv::sev_debug, nuv::CMessage("The server received an empty datagram."));
    return 0;
  }
  packet->pktLen(static_cast<unsigned>(length));
  packet->srcAddr() = tls.src().address();
  packet->recvTime().set_now();
  tls.dst() = nuv::CEndpoint(packet->dstAddr(), tls.dst().port());
  tls.rawPktData().active(std::move(packet));
  if (!m_task->deferredDispatch(this, &tls)) dispatch(&tls);
  return 0;
}

int CDHCP6Handler::dispatch(void* argument) {
  CDHCP6TLS& tls = *static_cast<CDHCP6TLS*>(argument);
  tls.stats().inc(M::packetsInput);
  try {
    _processUDPInput(tls);
  } catch (const nuv::CException& e) {
    _record(e);
  }
  return 0;
}

void CDHCP6Handler::_processUDPInput(CDHCP6TLS& tls) {
  const CRawPktDataPtr packet = tls.rawPktData().active();
  if (m_controller->log().verboseEnabled())
    _dhcpLog().log(nuv::sev_verbose, nuv::CMessage("The frontend received a %1 byte packet: %2.")
                                         .push(packet->pktLen())
                                         .pushs(hexText(packet->buffer(), packet->pktLen())));
  if (_queryResponse(tls, *packet)) return;
  if (m_controller->inputSuspended()) return;
  const CSystemMode mode = tls.mode();
  if (mode != CSystemMode::servicing && mode != CSystemMode::learning) {
    _dhcpLog().log(
        nuv::sev_debug,
        nuv::CMessage("Datagram received while server in mode '%1'.").pushs(mode.string()));
    return;
  }

  std::uint8_t type = 0;
  if (!packet->buffer()) {
    _dhcpLog().log(nuv::sev_error,
                   nuv::CMessage("The frontend received a %1 byte packet, but the buffer pointer "
                                 "is null.")
                       .push(packet->pktLen()));
  } else {
    const int parsed = _parse(tls, *packet);
    if (parsed < 0) return;  // vetoed: the next datagram overwrites what is left
    type = static_cast<std::uint8_t>(parsed);
  }

  CIDHCP6Exchange& exchange = tls.context().exchange();
  CSyncCommandStorage& sync = tls.syncCommands();
  unsigned failureMask = CSyncCommand::always | CSyncCommand::onFailure;
  sync.clear();
  try {
    tls.startTransaction();
    sync.append(std::make_unique<CCmdDelayedInputFromNode6>(tls, type, *packet));
    sync.append(std::make_unique<CCmdPublishQueue>(tls.context(), CSyncCommand::onCommit,
                                                   exchange.eventQueue()));
    if (_dhcpLog().debugEnabled())
      _dhcpLog().log(nuv::sev_debug,
                     nuv::CMessage("Processing packet type '%1'.").pushs(typeName(type)));
    std::uint16_t port = 0;
    const int code = _service(tls, type, port);
    tls.commitTransaction();
    failureMask = CSyncCommand::always;
    sync.execute(CSyncCommand::always | CSyncCommand::onCommit);
    switch (code) {
      case 1:
        _unicastToSource(tls, packet->pktLen(), type, port);
        break;
      case 2:
        break;
      case 0:
        _dhcpLog().log(nuv::sev_debug, nuv::CMessage("The server is dropping a datagram."));
        break;
      default:
        _dhcpLog().log(nuv::sev_error,
                       nuv::CMessage("The server returned unknown code %1.").push(code));
    }
  } catch (const nuv::CException& e) {
    if (!isDatabaseFailure(e)) {
      try {
        tls.rollbackTransaction();
      } catch (const nuv::CException& again) {
        _record(again);
      }
    }
    _record(e);
    try {
      sync.execute(failureMask);
      tls.commitTransaction();
    } catch (const nuv::CException& again) {
      _record(again);
    }
  }
  sync.clear();
  exchange.clear();
}

int CDHCP6Handler::_parse(CDHCP6TLS& tls, const CRawPktData& packet) {
  try {
    CIDHCP6Exchange& exchange = tls.context().exchange();
    // An empty destination: messages received here are never refused for
    // having been sent to a unicast address.
    const std::uint8_t type =
        exchange.parseRequest(packet.buffer(), packet.pktLen(), tls.dst().address(),
                              tls.src().address(), m_controller->duid());
    if (tls.context().mediator().extension()->packet_received() < 0) return -1;
    return type;
  } catch (const nuv::CException& e) {
    tls.stats().inc(M::packetsParseFail);
    _record(e);
    return 0;
  }
}

int CDHCP6Handler::_service(CDHCP6TLS& tls, std::uint8_t type, std::uint16_t& port) {
  CIDHCP6Exchange& exchange = tls.context().exchange();
  nuv::CIPAddress link;
  const std::uint32_t transactionId = exchange.startReply(m_controller->duid(), link);
  if (type > 15) {
    tls.stats().inc(M::packetsUnknownType);
    _dhcpLog().log(nuv::sev_warning,
                   nuv::CMessage("The server received unknown packet type '%1'.").push(type));
    return 0;
  }
  const std::int32_t metric = receivedMetric(type);
  if (metric < 0) {
    _dhcpLog().log(nuv::sev_warning, nuv::CMessage("The server received unexpected message "
                                                   "type '%1'.")
                                         .pushs(typeName(type)));
    return 0;
  }
  tls.stats().inc(metric);
  if (type == 14) return exchange.leaseQuery(*tls.context().mediator().leaseQuery());
  const CDHCP6ProcessorTable::Run run = CDHCP6ProcessorTable::processor(type);
  if (!run) {
    _dhcpLog().log(nuv::sev_debug,
                   nuv::CMessage("No processor handles message type '%1'.").pushs(typeName(type)));
    return 0;
  }
  return run(tls, link, transactionId, port);
}

void CDHCP6Handler::_unicastToSource(CDHCP6TLS& tls, unsigned /*requestLength*/,
                                     std::uint8_t requestType, std::uint16_t port) {
  CIDHCP6Exchange& exchange = tls.context().exchange();
  std::size_t length = 0;
  std::uint8_t replyType = 0;
  const std::uint8_t* bytes = exchange.serializeReply(length, replyType);
  nuv::CEndpoint to = tls.src();
  // A relayed request is always answered to the relay that sent it.
  if (exchange.relayCount() == 0 && port != 0) to.setPort(port);

  ssize_t sent;
  if (tls.noTransmit()) {
    _dhcpLog().log(nuv::sev_debug, nuv::CMessage("The server is in debug mode and is only "
                                                 "simulating responses."));
    sent = static_cast<ssize_t>(length);
  } else {
    sent = tls.socket().send_blocked(bytes, length, to);
  }
  if (sent < 0) {
    _dhcpLog().log(nuv::sev_error,
                   nuv::CMessage("The server failed to transmit to %1.").pushs(to.string()), errno);
    return;
  }
  if (const std::int32_t metric = sentMetric(replyType); metric >= 0) tls.stats().inc(metric);
  tls.stats().inc(M::packetsOutput);

  const CDHCPPktIdentity who = exchange.replyIdentity();
  tls.context().mediator().pktstore()->outputToNode(
      who.account, replyType, requestType, who.subscriberID, who.circuitID, who.remoteID,
      who.clientID, exchange.replyText(), bytes, length);
  if (m_controller->log().verboseEnabled())
    _dhcpLog().log(
        nuv::sev_verbose,
        nuv::CMessage("The frontend transmitted packet: %1.").pushs(hexText(bytes, length)));
}

bool CDHCP6Handler::_queryResponse(CDHCP6TLS& tls, const CRawPktData& packet) {
  std::string response;
  if (!m_controller->getQueryResponse(reinterpret_cast<const char*>(packet.buffer()),
                                      packet.pktLen(), response))
    return false;
  const ssize_t sent = tls.socket().send_blocked(response.data(), response.size(), tls.src());
  if (sent > 0) {
    tls.stats().inc(M::packetsOutput);
    tls.stats().inc(M::packetsQueryResponse);
  }
  if (m_controller->log().verboseEnabled())
    _dhcpLog().log(nuv::sev_verbose,
                   nuv::CMessage("The frontend transmitted packet: %1.")
                       .pushs(hexText(reinterpret_cast<const std::uint8_t*>(response.data()),
                                      response.size())));
  return true;
}
