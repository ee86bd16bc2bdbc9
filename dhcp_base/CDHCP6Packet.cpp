#include "dhcp_base/CDHCP6Packet.h"

#include <cstring>
#include <initializer_list>

#include "dhcp_base/CAbstractIO.h"
#include "dhcp_base/CDHCP6OptionCode.h"
#include "dhcp_base/CDHCP6Util.h"
#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COptionFactory.h"
#include "dhcp_base/COptionInputContext.h"
#include "dhcp_base/COptionLookup.h"
#include "dhcp_base/COptionOutputContext.h"
#include "dhcp_base/COptionTypes.h"
#include "dhcp_base/CValueTypeConverter.h"
#include "dhcp_base/CValueTypeInserter.h"
#include "standard/CException.h"

using Code = CDHCP6OptionCode;
using MT = CDHCP6MsgType;

namespace {

constexpr std::uint32_t kRelayFields[] = {Code::msgType, Code::hopCount, Code::linkAddress,
                                          Code::peerAddress};
constexpr std::uint32_t kMessageFields[] = {Code::msgType, Code::transactionID};

bool oneOf(CDHCP6MsgType type, std::initializer_list<std::uint8_t> types) {
  for (std::uint8_t t : types)
    if (type == t) return true;
  return false;
}

// Neither multicast, nor all zeros, nor all ones; an unset address is none.
bool isUnicast(const nuv::CIPAddress& a) {
  if (!a.isValid() || a.isMulticast()) return false;
  bool zeros = true, ones = true;
  for (std::size_t i = 0; i < a.raw_len(); ++i) {
    zeros = zeros && a.raw()[i] == 0;
    ones = ones && a.raw()[i] == 0xff;
  }
  return !zeros && !ones;
}

[[noreturn]] void tooShort(const char* context, const char* why) {
  NUV_THROW(context, nuv::CMessage("Error parsing dhcp packet."), nuv::CMessage(why));
}

[[noreturn]] void invalid(const char* context, nuv::CMessage why) {
  NUV_THROW(context, nuv::CMessage("Invalid dhcp6 packet."), std::move(why));
}

}  // namespace

CDHCP6Packet::CDHCP6Packet(CDHCPContext* context, std::string instanceName)
    : CDHCPPacket(context, std::move(instanceName)),
      m_host(context->factory().createOS(this->instanceName() + "-host-options", "host-option ")) {}

CDHCP6Packet::~CDHCP6Packet() = default;

std::string CDHCP6Packet::string() const {
  std::string out;
  auto lines = [&out](const COptionStore& store) {
    for (const COptionPtr& o : store.values())
      out.append(store.elementPrefix())
          .append(o->attributes().name)
          .append(" = ")
          .append(o->safe_string())
          .append("\n");
  };
  lines(*m_host);
  for (const COptionStorePtr& layer : m_relays) lines(*layer);
  return out;
}

nuv::CHexStore CDHCP6Packet::clientID() const {
  return CDHCP6Util::optionData(m_host, Code::clientID);
}

nuv::CHexStore CDHCP6Packet::circuitID() const {
  if (m_relays.empty()) return {};
  return CDHCP6Util::optionData(m_relays.back(), Code::interfaceID);
}

void CDHCP6Packet::clear() {
  m_host->clearStorage();
  m_relays.clear();
  _pktLength(0);
}

const COptionStorePtr& CDHCP6Packet::innerRelayOptions() const {
  if (m_relays.empty())
    NUV_THROW("CDHCP6Packet::innerRelayOptions",
              nuv::CMessage("Attempt to access invalid inner relay options."),
              nuv::CMessage("No relay options exist."));
  return m_relays.back();
}

const COptionStorePtr& CDHCP6Packet::outerRelayOptions() const {
  if (m_relays.empty())
    NUV_THROW("CDHCP6Packet::outerRelayOptions",
              nuv::CMessage("Attempt to access invalid outer relay options."),
              nuv::CMessage("No relay options exist."));
  return m_relays.front();
}

void CDHCP6Packet::appendRelayLayer(COptionStorePtr layer) {
  const std::string n = std::to_string(m_relays.size());
  layer->instanceName(instanceName() + "-relay-" + n + "-options");
  layer->elementPrefix("relay-" + n + "-option ");
  m_relays.push_back(std::move(layer));
}

nuv::CIPAddress CDHCP6Packet::hostAddress(const nuv::CIPAddress& source) const {
  if (m_relays.empty()) return source;
  return CValueTypeConverter::ip(*m_relays.back()->find(CTagPath{Code::peerAddress}), 0);
}

nuv::CIPAddress CDHCP6Packet::linkAddress() const {
  if (m_relays.empty()) return nuv::CIPAddress(nuv::CIPAddress::ipv6);
  return CValueTypeConverter::ip(*m_relays.back()->find(CTagPath{Code::linkAddress}), 0);
}

CDHCP6MsgType CDHCP6Packet::msgType() const {
  return CValueTypeConverter::uint8(*m_host->find(CTagPath{Code::msgType}), 0);
}

void CDHCP6Packet::msgType(CDHCP6MsgType type) {
  COptionPtr o;
  if (!m_host->find(CTagPath{Code::msgType}, o))
    CDHCP6Util::createAndStore(Code::msgType, m_host, o);
  o->clearStorage();
  CValueTypeInserter::push_back(type.value(), *o);
}

std::uint32_t CDHCP6Packet::transactionID() const {
  return CValueTypeConverter::uint32(*m_host->find(CTagPath{Code::transactionID}), 0);
}

void CDHCP6Packet::transactionID(std::uint32_t id) {
  COptionPtr o;
  if (!m_host->find(CTagPath{Code::transactionID}, o))
    CDHCP6Util::createAndStore(Code::transactionID, m_host, o);
  o->clearStorage();
  CValueTypeInserter::push_back(id & 0xffffffu, *o);
}

// Parsing ----------------------------------------------------------------

void CDHCP6Packet::serverSetFromRaw(const std::uint8_t* bytes, std::size_t length,
                                    const nuv::CIPAddress& destination) {
  _parse(bytes, length, true, destination);
}

void CDHCP6Packet::clientSetFromRaw(const std::uint8_t* bytes, std::size_t length,
                                    const nuv::CIPAddress& address) {
  _parse(bytes, length, false, address);
}

void CDHCP6Packet::unknownSetFromRaw(const std::uint8_t* bytes, std::size_t length,
                                     const nuv::CIPAddress& address) {
  if (length == 0)
    tooShort("CDHCP6Packet::unknownSetFromRaw",
             "The buffer is too short to contain a dhcp6 header.");
  const std::uint8_t type = bytes[0];
  if (type == MT::unknown || type > MT::lease_query_reply)
    NUV_THROW("CDHCP6Packet::unknownSetFromRaw", nuv::CMessage("Error guessing dhcp6 packet type."),
              nuv::CMessage("Invalid or unknown message type."));
  if (oneOf(type,
            {MT::advertise, MT::reply, MT::reconfigure, MT::relay_reply, MT::lease_query_reply}))
    clientSetFromRaw(bytes, length, address);
  else
    serverSetFromRaw(bytes, length, address);
}

void CDHCP6Packet::_parse(const std::uint8_t* bytes, std::size_t length, bool serverSide,
                          const nuv::CIPAddress& destination) {
  clear();
  std::uint8_t* raw = createPkt(length);
  if (length) std::memcpy(raw, bytes, length);
  _pktLength(length);

  // Layers are unwrapped in a loop rather than by recursion: a datagram
  // may nest many of them.
  const std::uint8_t* pos = raw;
  Keep keep;
  for (;;) {
    if (length == 0)
      tooShort("CDHCP6Packet::_parse", "The buffer is too short to contain a dhcp6 header.");
    const CDHCP6MsgType type(pos[0]);
    if (!type.isRelay()) {
      _parseMessage(pos, length, type, serverSide, destination);
      return;
    }
    if (!serverSide)
      NUV_THROW("CDHCP6Packet::_parse", nuv::CMessage("Invalid dhcp6 packet."),
                nuv::CMessage("The client received a relay agent message."));
    if (length < kMinRelay)
      tooShort("CDHCP6Packet::_parse",
               "The buffer is too short to contain a dhcp6 relay message header.");
    _parseRelayLayer(pos, length, keep);
  }
}

void CDHCP6Packet::_appendHeader(COptionStore& store, std::uint32_t code, const std::uint8_t* bytes,
                                 std::size_t length, COptionInputContext& ic) {
  COptionPtr field = CDHCP6Util::createOption(code, &store);
  field->valueInput(bytes, length, ic);
  store.values().push_back(std::move(field));
}

// Reads the relay header and options of the layer at bytes; bytes and
// length then describe the Relay Message's data, the next layer inwards,
// which keep holds until that layer has been read.
void CDHCP6Packet::_parseRelayLayer(const std::uint8_t*& bytes, std::size_t& length, Keep& keep) {
  COptionStorePtr layer = context()->factory().createOS({}, {});
  appendRelayLayer(layer);
  COptionInputContext ic(bytes, layer.get());
  _appendHeader(*layer, Code::msgType, bytes, 1, ic);
  _appendHeader(*layer, Code::hopCount, bytes + 1, 1, ic);
  _appendHeader(*layer, Code::linkAddress, bytes + 2, 16, ic);
  _appendHeader(*layer, Code::peerAddress, bytes + 18, 16, ic);
  layer->valueInput(bytes + kRelayHeader, length - kRelayHeader, ic);

  // Fails "No such option." when the layer has no Relay Message. With two,
  // which one is meant cannot be told, and the one left in the layer
  // would be echoed into the Relay-reply beside ours.
  if (layer->instanceCount(CTagPath{Code::relayMsg}) > 1)
    invalid("CDHCP6Packet::_parseRelayLayer",
            nuv::CMessage("The relay layer holds more than one Relay Message option."));
  keep.option = layer->find(CTagPath{Code::relayMsg});
  layer->erase(CTagPath{Code::relayMsg});
  const COption& message = *keep.option;
  if (message.count() == 0) {
    length = 0;
  } else if (message.valueType() == COptionType::ot_byte_sequence) {
    // Read in place: the decoded option already holds the only copy.
    const nuv::CHexStore& data = static_cast<const CHexStoreOption&>(message).values()[0];
    bytes = data.data();
    length = data.size();
  } else {
    keep.bytes = CValueTypeConverter::hexstore(message, 0);
    bytes = keep.bytes.data();
    length = keep.bytes.size();
  }
}

void CDHCP6Packet::_parseMessage(const std::uint8_t* bytes, std::size_t length, CDHCP6MsgType type,
                                 bool serverSide, const nuv::CIPAddress& destination) {
  if (length < kMinMessage)
    tooShort("CDHCP6Packet::_parseMessage",
             "The buffer is too short to contain a dhcp6 message header.");
  COptionInputContext ic(bytes, m_host.get());
  _appendHeader(*m_host, Code::transactionID, bytes + 1, 3, ic);
  _appendHeader(*m_host, Code::msgType, bytes, 1, ic);
  m_host->valueInput(bytes + 4, length - 4, ic);
  _checkCommon(type);
  if (serverSide)
    _checkInboundServer(type, destination);
  else
    _checkInboundClient(type);
}

// Checks -----------------------------------------------------------------

bool CDHCP6Packet::_hasIA() const {
  return m_host->defined(CTagPath{Code::iaNA}) || m_host->defined(CTagPath{Code::iaTA}) ||
         m_host->defined(CTagPath{Code::iaPD});
}

std::string CDHCP6Packet::_optionName(std::uint32_t code) const {
  return context()->optionLookup().locate(CTagPath{code}, CVendorID::reserved(), true)->name;
}

void CDHCP6Packet::_checkCommon(CDHCP6MsgType type) const {
  if (type == MT::info_request && _hasIA())
    invalid("CDHCP6Packet::_checkCommon",
            nuv::CMessage("Message type is '%1' and one or more IA options are defined.")
                .pushs(type.string()));
}

void CDHCP6Packet::_checkInboundServer(CDHCP6MsgType type,
                                       const nuv::CIPAddress& destination) const {
  const char* ctx = "CDHCP6Packet::_checkInboundServer";
  if (oneOf(type, {MT::solicit, MT::confirm, MT::rebind, MT::info_request}) &&
      isUnicast(destination))
    invalid(ctx, nuv::CMessage("Received message type '%1', but destination address '%2' was a "
                               "unicast address.")
                     .pushs(type.string())
                     .pushs(destination.string()));
  if (oneOf(type, {MT::advertise, MT::reply, MT::reconfigure, MT::relay_reply}))
    invalid(
        ctx,
        nuv::CMessage("Message type '%1' is not valid from a dhcp6 client.").pushs(type.string()));
  if (!oneOf(type, {MT::solicit, MT::request, MT::confirm, MT::renew, MT::rebind, MT::release,
                    MT::decline}))
    return;
  if (!m_host->defined(CTagPath{Code::clientID}))
    invalid(ctx, nuv::CMessage("Message type is '%1', but missing option %2.")
                     .pushs(type.string())
                     .pushs(_optionName(Code::clientID)));
  const bool hasServerID = m_host->defined(CTagPath{Code::serverID});
  if (hasServerID && oneOf(type, {MT::solicit, MT::rebind, MT::confirm}))
    invalid(ctx, nuv::CMessage("Message type is '%1', but the packet includes option %2.")
                     .pushs(type.string())
                     .pushs(_optionName(Code::serverID)));
  if (!hasServerID && oneOf(type, {MT::request, MT::renew, MT::release, MT::decline}))
    invalid(ctx, nuv::CMessage("Message type is '%1', but missing option %2.")
                     .pushs(type.string())
                     .pushs(_optionName(Code::serverID)));
}

void CDHCP6Packet::_checkInboundClient(CDHCP6MsgType type) const {
  const char* ctx = "CDHCP6Packet::_checkInboundClient";
  if (oneOf(type, {MT::solicit, MT::request, MT::confirm, MT::renew, MT::rebind, MT::release,
                   MT::decline, MT::info_request, MT::relay_forward, MT::relay_reply}))
    NUV_THROW(ctx, nuv::CMessage("Invalid dhcpv6 message type '%1'.").pushs(type.string()),
              nuv::CMessage("Message type is not valid for a dhcp6 client."));
  if (!oneOf(type, {MT::advertise, MT::reply, MT::reconfigure})) return;
  auto missing = [&](std::uint32_t code, const char* text) {
    if (!m_host->defined(CTagPath{code}))
      invalid(ctx, nuv::CMessage(text).pushs(type.string()).pushs(_optionName(code)));
  };
  missing(Code::serverID, "Message type is '%1', but missing option '%2'.");
  if (type != MT::reply) missing(Code::clientID, "Message type is '%1', but missing option '%2'.");
  if (type != MT::reconfigure) return;
  missing(Code::reconfMsg, "Message type is '%1', but missing option '%2'.");
  const unsigned msg = CValueTypeConverter::uint8(*m_host->find(CTagPath{Code::reconfMsg}), 0);
  if (msg != MT::renew && msg != MT::info_request)
    invalid(ctx, nuv::CMessage("Option %1 has invalid value '%2'.")
                     .pushs(_optionName(Code::reconfMsg))
                     .push(msg));
  if (msg == MT::info_request && _hasIA())
    invalid(ctx, nuv::CMessage("Option %1 has value '%2', but also includes one or more IA "
                               "options.")
                     .pushs(_optionName(Code::reconfMsg))
                     .push(msg));
  missing(Code::auth, "Message type is '%1', but missing option %2.");
}

// Serialising ------------------------------------------------------------

// Header fields as bare values in their order, then every other option of
// the set as a TLV; server control options never go on the wire.
std::uint8_t* CDHCP6Packet::_writeLayer(const COptionStore& store, const std::uint32_t* header,
                                        std::size_t fields, std::uint8_t* pos,
                                        std::size_t& room) const {
  COptionOutputContext oc(const_cast<COptionStore*>(&store), false);
  for (std::size_t i = 0; i < fields; ++i) {
    std::uint8_t* end = store.find(CTagPath{header[i]})->valueOutput(pos, room, oc);
    oc.forbid(header[i]);
    room -= static_cast<std::size_t>(end - pos);
    pos = end;
  }
  std::uint8_t* end = store.valueOutput(pos, room, oc);
  room -= static_cast<std::size_t>(end - pos);
  return end;
}

// Room for the Relay Message header that wraps the next layer inwards.
std::uint8_t* CDHCP6Packet::_reserveRelayMessage(std::uint8_t* pos, std::size_t& room) const {
  if (room < 4)
    NUV_THROW("CDHCP6Packet::rawServerPacket",
              nuv::CMessage("Cannot write header for option %1.").push(9),
              nuv::CMessage("The output buffer is too small by %1 bytes.").push(4 - room));
  room -= 4;
  return pos + 4;
}

const std::uint8_t* CDHCP6Packet::rawServerPacket(std::size_t& size) {
  const CDHCP6MsgType type = msgType();
  _checkCommon(type);
  _checkInboundClient(type);

  std::uint8_t* start = createPkt(kMaxReplySize);
  std::uint8_t* pos = start;
  std::size_t room = kMaxReplySize;
  std::uint8_t* pending = nullptr;  // the Relay Message header the next layer goes into
  m_lengthFields.clear();
  auto closePending = [&] {
    if (!pending) return;
    CAbstractIO::writeSqueezed(pending, Code::relayMsg, 2);
    m_lengthFields.push_back(pending + 2);
  };
  for (const COptionStorePtr& layer : m_relays) {
    pos = _writeLayer(*layer, kRelayFields, 4, pos, room);
    closePending();
    pending = pos;
    pos = _reserveRelayMessage(pos, room);
  }
  pos = _writeLayer(*m_host, kMessageFields, 2, pos, room);
  closePending();

  size = static_cast<std::size_t>(pos - start);
  // Every Relay Message runs to the end of the datagram.
  for (std::uint8_t* field : m_lengthFields)
    CAbstractIO::writeSqueezed(field, static_cast<std::size_t>(pos - (field + 2)), 2);
  _pktLength(size);
  return start;
}

const std::uint8_t* CDHCP6Packet::rawClientPacket(std::size_t& size) {
  const CDHCP6MsgType type = msgType();
  _checkCommon(type);
  _checkInboundServer(type, nuv::CIPAddress());

  std::uint8_t* start = createPkt(kMaxReplySize);
  std::size_t room = kMaxReplySize;
  std::uint8_t* end = _writeLayer(*m_host, kMessageFields, 2, start, room);
  size = static_cast<std::size_t>(end - start);
  _pktLength(size);
  return start;
}
