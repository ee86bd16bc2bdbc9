#pragma once
// The message in progress on one worker thread, as the packet handler sees
// it: the parsed request with its node context, and the reply being built.
// The message framing implements it over the context's request and reply
// packets; until then CDHCP6UnframedExchange stands in.

#include <cstddef>
#include <cstdint>
#include <string>

#include "dhcp_server_common/CCmdPublishQueue.h"
#include "dhcp_server_common/CDHCPPktIdentity.h"
#include "standard/CHexStore.h"
#include "standard/CIPAddress.h"

class CIDHCPLeaseQuery;

class CIDHCP6Exchange {
 public:
  virtual ~CIDHCP6Exchange() = default;

  // Parses a datagram received by the server, unwrapping every
  // Relay-forward layer, and fills the node context (host and relay
  // options, local and peer address, client identifier, server DUID).
  // Returns the message type of the innermost message; raises
  // nuv::CException when the bytes are no DHCPv6 message.
  virtual std::uint8_t parseRequest(const std::uint8_t* bytes, std::size_t length,
                                    const nuv::CIPAddress& local, const nuv::CIPAddress& peer,
                                    const nuv::CHexStore& serverDUID) = 0;
  // Starts the reply: the request's relay path as Relay-reply layers, its
  // transaction-id, and a Server Identifier holding serverDUID. Returns the
  // transaction-id; link becomes the innermost relay's link-address, or the
  // unspecified address for a message that was not relayed.
  virtual std::uint32_t startReply(const nuv::CHexStore& serverDUID, nuv::CIPAddress& link) = 0;
  virtual unsigned relayCount() const = 0;
  // Hands request and reply to the lease-query service; its transmit code.
  virtual int leaseQuery(CIDHCPLeaseQuery& service) = 0;
  // The reply with its Relay-reply layers as bytes, valid until clear();
  // replyType is the message type of its outermost layer.
  virtual const std::uint8_t* serializeReply(std::size_t& length, std::uint8_t& replyType) = 0;

  virtual CDHCPPktIdentity requestIdentity() const = 0;
  virtual CDHCPPktIdentity replyIdentity() const = 0;
  // Text forms for the packet store.
  virtual std::string requestText() const = 0;
  virtual std::string replyText() const = 0;
  // Lease events the message's processor queued, published after commit.
  virtual CAppEventQueue& eventQueue() = 0;
  // Forgets request, reply and node context.
  virtual void clear() = 0;
};
