#pragma once
// One DHCPv6 datagram: the client or server message (the host options)
// and, for a relayed message, one option set per relay layer, outermost
// first. Header fields are pseudo-options in their layer's set (codes in
// CDHCP6OptionCode), so they are read, printed, cloned and written like
// options.
//
// Parsing unwraps every Relay-forward/Relay-reply layer and then checks
// the message as its receiver must (server or client direction); a
// failed parse leaves the packet partly filled. Serialising writes all
// layers into one 1280-byte buffer and patches each Relay Message length
// afterwards, so the Relay Message option is always the last option of
// its layer and reaches the end of the datagram.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dhcp_base/CDHCP6MsgType.h"
#include "dhcp_base/CDHCPPacket.h"
#include "dhcp_base/COptionStore.h"

class CDHCP6Packet : public CDHCPPacket {
 public:
  using Layers = std::vector<COptionStorePtr>;
  static constexpr std::size_t kMaxReplySize = 1280;  // the IPv6 minimum link MTU
  static constexpr std::size_t kMinMessage = 5;
  static constexpr std::size_t kRelayHeader = 34;
  static constexpr std::size_t kMinRelay = kRelayHeader + 1;

  CDHCP6Packet(CDHCPContext* context, std::string instanceName);
  ~CDHCP6Packet() override;
  const char* typeName() const override { return "CDHCP6Packet"; }

  using CDHCPPacket::string;
  // The host options' lines, then each relay layer's, each line labelled
  // with its set's element prefix: for logging.
  std::string string() const override;

  // The Client Identifier's data (empty when absent).
  nuv::CHexStore clientID() const override;
  nuv::CHexStore remoteID() const override { return {}; }
  // The innermost relay layer's Interface-ID data (empty when not relayed).
  nuv::CHexStore circuitID() const override;
  nuv::CHexStore subscriberID() const override { return {}; }
  void clear() override;
  // A reply: the client-direction check on the host message, then every
  // relay layer and the message into the 1280-byte buffer.
  const std::uint8_t* rawServerPacket(std::size_t& size) override;
  // A client message without relay layers, checked as a server would.
  const std::uint8_t* rawClientPacket(std::size_t& size) override;
  // A unicast destination refuses Solicit, Confirm, Rebind and
  // Information-request; give an unset address to skip that check.
  void serverSetFromRaw(const std::uint8_t* bytes, std::size_t length,
                        const nuv::CIPAddress& destination) override;
  void clientSetFromRaw(const std::uint8_t* bytes, std::size_t length,
                        const nuv::CIPAddress& address) override;
  // Client-to-server types as serverSetFromRaw, the others as
  // clientSetFromRaw.
  void unknownSetFromRaw(const std::uint8_t* bytes, std::size_t length,
                         const nuv::CIPAddress& address) override;

  virtual std::size_t relayCount() const { return m_relays.size(); }
  virtual const COptionStorePtr& hostOptions() const { return m_host; }
  // The layer nearest the client / the first one received; both fail when
  // the message was not relayed.
  virtual const COptionStorePtr& innerRelayOptions() const;
  virtual const COptionStorePtr& outerRelayOptions() const;
  // Outermost first. Build a reply's relay path with appendRelayLayer.
  virtual Layers& relayOptions() { return m_relays; }
  virtual const Layers& relayOptions() const { return m_relays; }
  // Names layer for its position and appends it as the new innermost one.
  void appendRelayLayer(COptionStorePtr layer);

  // The client's own address: the innermost relay's peer-address, or
  // source when the message was not relayed.
  nuv::CIPAddress hostAddress(const nuv::CIPAddress& source) const;
  // The client's link: the innermost relay's link-address, or :: when the
  // message was not relayed.
  nuv::CIPAddress linkAddress() const;
  // Header fields of the host message (failing when they are missing).
  CDHCP6MsgType msgType() const;
  void msgType(CDHCP6MsgType type);
  std::uint32_t transactionID() const;
  void transactionID(std::uint32_t id);

 private:
  void _parse(const std::uint8_t* bytes, std::size_t length, bool serverSide,
              const nuv::CIPAddress& destination);
  // What holds the bytes of the layer being read.
  struct Keep {
    COptionPtr option;
    nuv::CHexStore bytes;
  };
  void _parseRelayLayer(const std::uint8_t*& bytes, std::size_t& length, Keep& keep);
  void _parseMessage(const std::uint8_t* bytes, std::size_t length, CDHCP6MsgType type,
                     bool serverSide, const nuv::CIPAddress& destination);
  void _appendHeader(COptionStore& store, std::uint32_t code, const std::uint8_t* bytes,
                     std::size_t length, COptionInputContext& ic);
  void _checkCommon(CDHCP6MsgType type) const;
  void _checkInboundServer(CDHCP6MsgType type, const nuv::CIPAddress& destination) const;
  void _checkInboundClient(CDHCP6MsgType type) const;
  bool _hasIA() const;
  std::string _optionName(std::uint32_t code) const;
  std::uint8_t* _writeLayer(const COptionStore& store, const std::uint32_t* header,
                            std::size_t fields, std::uint8_t* pos, std::size_t& room) const;
  std::uint8_t* _reserveRelayMessage(std::uint8_t* pos, std::size_t& room) const;

  COptionStorePtr m_host;
  Layers m_relays;
  std::vector<std::uint8_t*> m_lengthFields;  // kept to reuse its room
};
