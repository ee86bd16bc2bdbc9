#include "dhcp6_server/CDHCP6Handler.h"

#include <algorithm>
#include <cerrno>
#include <ctime>

#include "dhcp6_server/CCmdDelayedInputFromNode6.h"
#include "dhcp6_server/CDHCP6Confirm.h"
#include "dhcp6_server/CDHCP6Decline.h"
#include "dhcp6_server/CDHCP6InfoReq.h"
#include "dhcp6_server/CDHCP6Rebind.h"
#include "dhcp6_server/CDHCP6Release.h"
#include "dhcp6_server/CDHCP6Renew.h"
#include "dhcp6_server/CDHCP6Request.h"
#include "dhcp6_server/CDHCP6Solicit.h"
#include "dhcp6_server/CDHCP6TLS.h"
#include "dhcp_base/CDHCP6Util.h"
#include "dhcp_server_common/CIDHCPExtension.h"
#include "dhcp_server_common/CIDHCPLeaseQuery.h"
#include "dhcp_server_common/CIDHCPPktStore.h"
#include "extended/CDHCPMetricEnums.h"
#include "extended/CICommandQueueTask.h"
#include "extended/CIDHCPController.h"
#include "oodb/CPrstException.h"

namespace {

using M = CDHCPMetricEnums;

// The counter of each client message type the server accepts.
std::int32_t receivedMetric(std::uint8_t type) {
  switch (type) {
    case CDHCP6MsgType::solicit:
      return M::packetsV6Solicit;
    case CDHCP6MsgType::request:
      return M::packetsV6Request;
    case CDHCP6MsgType::confirm:
      return M::packetsV6Confirm;
    case CDHCP6MsgType::renew:
      return M::packetsV6Renew;
    case CDHCP6MsgType::rebind:
      return M::packetsV6Rebind;
    case CDHCP6MsgType::release:
      return M::packetsV6Release;
    case CDHCP6MsgType::decline:
      return M::packetsV6Decline;
    case CDHCP6MsgType::info_request:
      return M::packetsV6InfoReq;
    case CDHCP6MsgType::lease_query:
      return M::packetsV6LeaseQuery;
    default:
      return -1;
  }
}

// The counter of each reply type the server sends.
std::int32_t sentMetric(std::uint8_t type) {
  switch (type) {
    case CDHCP6MsgType::advertise:
      return M::packetsV6Advertise;
    case CDHCP6MsgType::confirm:
      return M::packetsV6Confirm;
    case CDHCP6MsgType::reply:
      return M::packetsV6Reply;
    case CDHCP6MsgType::reconfigure:
      return M::packetsV6Reconfig;
    case CDHCP6MsgType::relay_reply:
      return M::packetsV6RelayReply;
    case CDHCP6MsgType::lease_query_reply:
      return M::packetsV6LeaseQueryReply;
    default:
      return -1;
  }
}

std::string hexText(const std::uint8_t* bytes, std::size_t length) {
  return nuv::CHexStore(bytes, length).string();
}

// The name of a message type as the log shows it; a number for types the
// protocol does not define.
std::string typeName(std::uint8_t type) {
  return type < 16 ? CDHCP6MsgType(type).string() : std::to_string(type);
}

}  // namespace

CDHCP6Handler::CDHCP6Handler(CIDHCPController* controller, CICommandQueueTask* task,
                             CTLSPool<CDHCP6TLS>& tlsPool)
    : m_controller(controller), m_task(task), m_tlsPool(tlsPool), m_outage(controller->log()) {}

CLogSink& CDHCP6Handler::_dhcpLog() const {
  return **m_controller->dhcpLog();
}

void CDHCP6Handler::_record(const nuv::CException& e) {
  m_controller->exceptionFacade().record(e);
  m_controller->exceptionFacade().log();
}

int CDHCP6Handler::udp_input(nuv::CSockDgramMcast& socket) {
  CDHCP6TLS& tls = m_tlsPool.find(m_task->myThreadIndex());
  tls.socket().set_handle(socket.get_handle());
  for (int read = 0; read < kBatch && _receive(tls, read == 0); ++read) {
  }
  return 0;
}

bool CDHCP6Handler::_receive(CDHCP6TLS& tls, bool first) {
  nuv::CSockDgramMcast& own = tls.socket();
  // Read straight into a buffer of the largest size accepted: a longer
  // datagram comes back truncated (EMSGSIZE), as it would when asking the
  // kernel for the waiting size first, but without a system call more.
  CRawPktDataPtr packet = tls.rawPktData().free();
  const std::size_t wanted = std::min<std::size_t>(tls.maxRecvDatagram(), packet->capacity());

  const ACE_Time_Value second(1);
  nuv::CEndpoint from;
  ssize_t length = own.recvFrom(packet->buffer(), wanted, from, first ? 0 : MSG_DONTWAIT,
                                first ? &second : nullptr, &packet->dstAddr());
  if (length < 0) {
    const int err = errno;
    if (err == ETIME || err == EINTR || err == EAGAIN || err == EWOULDBLOCK) return false;
    if (err != EMSGSIZE) {
      tls.stats().inc(M::packetsRecvFail);
      m_controller->log().log(nuv::sev_error,
                              nuv::CMessage("The server can't read from a daemon socket."), err);
      return false;
    }
    tls.stats().inc(M::packetsRecvTrunc);
    _dhcpLog().log(nuv::sev_warning, nuv::CMessage("The server received a truncated datagram."));
    length = static_cast<ssize_t>(wanted);
  }
  if (length == 0) {
    tls.stats().inc(M::packetsRecvEmpty);
    if (_dhcpLog().debugEnabled())
      _dhcpLog().log(nuv::sev_debug, nuv::CMessage("The server received an empty datagram."));
    return true;
  }
  packet->pktLen(static_cast<unsigned>(length));
  packet->interfaceIndex(own.arrivalInterface());
  _accept(tls, std::move(packet), from);
  return true;
}

void CDHCP6Handler::_accept(CDHCP6TLS& tls, CRawPktDataPtr packet, const nuv::CEndpoint& from) {
  packet->srcAddr() = from.address();
  packet->srcPort(from.port());
  packet->recvTime().set_now();
  tls.rawPktData().active(std::move(packet));
  if (!m_task->deferredDispatch(this, &tls)) dispatch(&tls);
}

void CDHCP6Handler::deliver(CDHCP6TLS& tls, const std::uint8_t* bytes, std::size_t length,
                            const nuv::CEndpoint& from, const nuv::CIPAddress& to,
                            unsigned interfaceIndex) {
  CRawPktDataPtr packet = tls.rawPktData().free();
  length = std::min(length, packet->capacity());
  std::copy(bytes, bytes + length, packet->buffer());
  packet->pktLen(static_cast<unsigned>(length));
  packet->dstAddr() = to;
  packet->interfaceIndex(interfaceIndex);
  _accept(tls, std::move(packet), from);
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
  // Datagrams of one wake-up wait in the order read: each is answered to
  // its own sender, from the address and out of the interface it came to.
  tls.src() = nuv::CEndpoint(packet->srcAddr(), packet->srcPort());
  tls.dst() = nuv::CEndpoint(packet->dstAddr(), tls.dst().port());
  tls.socket().arrivalInterface(packet->interfaceIndex());
  if (m_controller->log().verboseEnabled())
    _dhcpLog().log(nuv::sev_verbose, nuv::CMessage("The frontend received a %1 byte packet: %2.")
                                         .push(packet->pktLen())
                                         .pushs(hexText(packet->buffer(), packet->pktLen())));
  if (_queryResponse(tls, *packet)) return;
  if (m_controller->inputSuspended()) return;
  const CSystemMode mode = tls.mode();
  if (mode != CSystemMode::servicing && mode != CSystemMode::learning) {
    if (_dhcpLog().debugEnabled())
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

  CDHCP6Context& context = tls.context();
  CSyncCommandStorage& sync = tls.syncCommands();
  unsigned failureMask = CSyncCommand::always | CSyncCommand::onFailure;
  sync.clear();
  try {
    tls.startTransaction(type == CDHCP6MsgType::info_request || type == CDHCP6MsgType::confirm);
    sync.append(std::make_unique<CCmdDelayedInputFromNode6>(tls, type, *packet));
    sync.append(std::make_unique<CCmdPublishQueue>(context, CSyncCommand::onCommit,
                                                   context.ncIn().provisioned().eventQueue()));
    if (_dhcpLog().debugEnabled())
      _dhcpLog().log(nuv::sev_debug,
                     nuv::CMessage("Processing packet type '%1'.").pushs(typeName(type)));
    std::uint16_t port = 0;
    const int code = _service(tls, type, port);
    tls.commitTransaction();
    failureMask = CSyncCommand::always;
    m_outage.served(std::time(nullptr));
    sync.execute(CSyncCommand::always | CSyncCommand::onCommit);
    switch (code) {
      case CDHCP6TransmitCode::TRANSMIT:
        _unicastToSource(tls, packet->pktLen(), type, port);
        break;
      case CDHCP6TransmitCode::IGNORE:
        break;
      case CDHCP6TransmitCode::DROP:
        if (_dhcpLog().debugEnabled())
          _dhcpLog().log(nuv::sev_debug, nuv::CMessage("The server is dropping a datagram."));
        break;
      default:
        _dhcpLog().log(nuv::sev_error,
                       nuv::CMessage("The server returned unknown code %1.").push(code));
    }
  } catch (const nuv::CException& e) {
    // The database layer has rolled back a failed statement's transaction
    // already; any other failure, and a database failure raised before a
    // statement ran, leaves it open: roll it back, so that nothing of a
    // failed message is committed below.
    try {
      tls.rollbackTransaction();
    } catch (const nuv::CException& again) {
      _record(again);
    }
    if (dynamic_cast<const CPrstUnavailableException*>(&e)) {
      // Not one line per message while the database is away.
      tls.stats().inc(M::packetsDbUnavailable);
      m_outage.dropped(e, std::time(nullptr));
    } else {
      _record(e);
    }
    try {
      sync.execute(failureMask);
      tls.commitTransaction();
    } catch (const nuv::CException& again) {
      _record(again);
    }
  }
  sync.clear();
  context.clearMessage();
}

int CDHCP6Handler::_parse(CDHCP6TLS& tls, const CRawPktData& packet) {
  // A type byte the protocol does not define is dropped as unknown, not
  // as unreadable: nothing else of such a datagram can be read.
  if (packet.pktLen() > 0 && packet.buffer()[0] > CDHCP6MsgType::lease_query_reply)
    return packet.buffer()[0];
  CDHCP6Context& context = tls.context();
  try {
    CDHCP6Packet& request = *context.inPacket();
    // An empty destination: messages received here are never refused for
    // having been sent to a unicast address.
    request.serverSetFromRaw(packet.buffer(), packet.pktLen(), nuv::CIPAddress());
    CNodeContext& node = context.ncIn();
    node.hostOptions(request.hostOptions());
    node.relayOptions(request.relayOptions());
    // A client on the server's own link is numbered from the receiving
    // interface's networks, whatever group the datagram was sent to.
    auto local = tls.interfaceAddresses().find(packet.interfaceIndex());
    node.localAddress(local->empty() ? tls.dst().address() : local->front());
    node.localAddresses(std::move(local));
    node.peerAddress(tls.src().address());
    node.clientID(request.clientID());
    node.serverDUID(m_controller->duid());
    if (context.mediator().extension()->packet_received() < 0) return -1;
    return request.msgType();
  } catch (const nuv::CException& e) {
    tls.stats().inc(M::packetsParseFail);
    if (_admitMalformed(tls)) _record(e);
    // Half a message is no message: forget what was read of it.
    context.clearMessage();
    return 0;
  }
}

bool CDHCP6Handler::_admitMalformed(CDHCP6TLS& tls) {
  CLogRateLimiter& limiter = tls.malformedLog();
  if (!limiter.admit(std::time(nullptr))) return false;
  if (const unsigned long suppressed = limiter.takeSuppressed())
    _dhcpLog().log(nuv::sev_warning,
                   nuv::CMessage("%1 similar messages about unreadable datagrams suppressed.")
                       .push(suppressed));
  return true;
}

std::uint32_t CDHCP6Handler::_startReply(CDHCP6TLS& tls) {
  CDHCP6Context& context = tls.context();
  return CDHCP6Util::startReply(*context.inPacket(), *context.outPacket(), m_controller->duid());
}

int CDHCP6Handler::_service(CDHCP6TLS& tls, std::uint8_t type, std::uint16_t& port) {
  // Only accepted types get a reply started: the others are dropped
  // whatever was read of them.
  if (type > 15) {
    tls.stats().inc(M::packetsUnknownType);
    if (_admitMalformed(tls))
      _dhcpLog().log(nuv::sev_warning,
                     nuv::CMessage("The server received unknown packet type '%1'.").push(type));
    return CDHCP6TransmitCode::DROP;
  }
  const std::int32_t metric = receivedMetric(type);
  if (metric < 0) {
    if (_admitMalformed(tls))
      _dhcpLog().log(nuv::sev_warning, nuv::CMessage("The server received unexpected message "
                                                     "type '%1'.")
                                           .pushs(typeName(type)));
    return CDHCP6TransmitCode::DROP;
  }
  tls.stats().inc(metric);

  CDHCP6Context& context = tls.context();
  const std::uint32_t transactionId = _startReply(tls);
  nuv::CIPAddress link = context.protocolAttributes().prototypeIPAddr();
  if (context.inPacket()->relayCount() != 0) link = context.inPacket()->linkAddress();
  CNodeContext& node = context.ncIn();
  switch (type) {
    case CDHCP6MsgType::solicit:
      return CDHCP6Solicit(&tls, node, link, transactionId).execute(port);
    case CDHCP6MsgType::request:
      return CDHCP6Request(&tls, node, link, transactionId).execute(port);
    case CDHCP6MsgType::renew:
      return CDHCP6Renew(&tls, node, link, transactionId).execute(port);
    case CDHCP6MsgType::rebind:
      return CDHCP6Rebind(&tls, node, link, transactionId).execute(port);
    case CDHCP6MsgType::release:
      return CDHCP6Release(&tls, node, link, transactionId).execute(port);
    case CDHCP6MsgType::decline:
      return CDHCP6Decline(&tls, node, link, transactionId).execute(port);
    case CDHCP6MsgType::confirm:
      return CDHCP6Confirm(&tls, node, link, transactionId).execute(port);
    case CDHCP6MsgType::info_request:
      return CDHCP6InfoReq(&tls, node, link, transactionId).execute(port);
    case CDHCP6MsgType::lease_query:
      return context.mediator().leaseQuery()->processLQ(node, *context.inPacket(),
                                                        *context.outPacket());
    default:  // not reached: only the types above are counted as received
      return CDHCP6TransmitCode::DROP;
  }
}

void CDHCP6Handler::_unicastToSource(CDHCP6TLS& tls, unsigned /*requestLength*/,
                                     std::uint8_t requestType, std::uint16_t port) {
  CDHCP6Context& context = tls.context();
  CDHCP6Packet& reply = *context.outPacket();
  std::size_t length = 0;
  const std::uint8_t* bytes = reply.rawServerPacket(length);
  const std::uint8_t replyType = length > 0 ? bytes[0] : 0;
  nuv::CEndpoint to = tls.src();
  // A relayed request is always answered to the relay that sent it.
  if (context.inPacket()->relayCount() == 0 && port != 0) to.setPort(port);

  ssize_t sent;
  if (tls.noTransmit()) {
    if (_dhcpLog().debugEnabled())
      _dhcpLog().log(nuv::sev_debug, nuv::CMessage("The server is in debug mode and is only "
                                                   "simulating responses."));
    sent = static_cast<ssize_t>(length);
  } else {
    sent = tls.transmit(bytes, length, to);
  }
  if (sent < 0) {
    _dhcpLog().log(nuv::sev_error,
                   nuv::CMessage("The server failed to transmit to %1.").pushs(to.string()), errno);
    return;
  }
  if (const std::int32_t metric = sentMetric(replyType); metric >= 0) tls.stats().inc(metric);
  tls.stats().inc(M::packetsOutput);

  context.mediator().pktstore()->outputToNode(
      context.ncIn().provisioned().account(), replyType, requestType, reply.subscriberID(),
      reply.circuitID(), reply.remoteID(), reply.clientID(), [&reply] { return reply.string(); },
      bytes, length);
  if (m_controller->log().verboseEnabled())
    _dhcpLog().log(
        nuv::sev_verbose,
        nuv::CMessage("The frontend transmitted packet: %1.").pushs(hexText(bytes, length)));
}

bool CDHCP6Handler::_queryResponse(CDHCP6TLS& tls, const CRawPktData& packet) {
  const char* text = reinterpret_cast<const char*>(packet.buffer());
  if (!CMasterController::isStatusQuery(text, packet.pktLen())) return false;
  // Answering any source would make the server a reflector for forged
  // ones; a paused server answers only this host.
  const nuv::CIPAddress& source = tls.src().address();
  if (!tls.querySources().allows(source, tls.interfaceAddresses()) ||
      ((m_controller->inputSuspended() || tls.mode() == CSystemMode::paused) &&
       !CQuerySources::local(source, tls.interfaceAddresses()))) {
    if (_dhcpLog().debugEnabled())
      _dhcpLog().log(
          nuv::sev_debug,
          nuv::CMessage("The server ignored a status query from %1.").pushs(tls.src().string()));
    return true;
  }
  std::string response;
  if (!m_controller->getQueryResponse(text, packet.pktLen(), response)) return false;
  const ssize_t sent = tls.transmit(response.data(), response.size(), tls.src());
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
