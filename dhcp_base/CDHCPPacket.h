#pragma once
// One datagram of a DHCP protocol in memory: the raw bytes last parsed or
// serialised, and the protocol's parse and serialise operations (the
// DHCPv6 ones in CDHCP6Packet). A packet belongs to one thread.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "standard/CHexStore.h"
#include "standard/CIPAddress.h"

class CDHCPContext;

class CDHCPPacket {
 public:
  static constexpr std::size_t kInitialBufferSize = 548;

  CDHCPPacket(CDHCPContext* context, std::string instanceName);
  CDHCPPacket(const CDHCPPacket&) = delete;
  CDHCPPacket& operator=(const CDHCPPacket&) = delete;
  virtual ~CDHCPPacket();
  virtual const char* typeName() const { return "CDHCPPacket"; }

  // The valid bytes of the raw buffer as hex text ("01-02-..."); set them
  // from such text, growing the buffer as needed.
  virtual std::string string() const;
  virtual void string(std::string_view text);
  // Diagnostics: never throw.
  virtual std::string safe_string() const;
  virtual std::string dump() const;

  // The identifiers the packet store files a message under; empty when the
  // protocol or the message has none.
  virtual nuv::CHexStore clientID() const = 0;
  virtual nuv::CHexStore remoteID() const = 0;
  virtual nuv::CHexStore circuitID() const = 0;
  virtual nuv::CHexStore subscriberID() const = 0;
  // Back to empty, ready to be filled again.
  virtual void clear() = 0;
  // Validate and serialise into the raw buffer; the bytes stay valid until
  // the next parse or serialisation.
  virtual const std::uint8_t* rawServerPacket(std::size_t& size) = 0;
  virtual const std::uint8_t* rawClientPacket(std::size_t& size) = 0;
  // Parse a datagram as the server receives it (destination: where it was
  // sent), as a client receives it, or in the direction its type implies.
  virtual void serverSetFromRaw(const std::uint8_t* bytes, std::size_t length,
                                const nuv::CIPAddress& destination) = 0;
  virtual void clientSetFromRaw(const std::uint8_t* bytes, std::size_t length,
                                const nuv::CIPAddress& address) = 0;
  virtual void unknownSetFromRaw(const std::uint8_t* bytes, std::size_t length,
                                 const nuv::CIPAddress& address) = 0;

  CDHCPContext* context() const { return m_context; }
  const std::string& instanceName() const { return m_instanceName; }
  const std::uint8_t* pktBuffer() const { return m_buffer.get(); }
  // Allocated bytes of the raw buffer.
  std::size_t bufferSize() const { return m_bufferSize; }
  // Bytes of the last datagram parsed or reply serialised.
  std::size_t pktLength() const { return m_length; }
  // The raw buffer, at least size bytes (0 counts as 1) and zero-filled over
  // its whole size; it only ever grows.
  std::uint8_t* createPkt(std::size_t size);

 protected:
  void _pktLength(std::size_t length) { m_length = length; }

 private:
  CDHCPContext* m_context;  // not owned
  std::size_t m_bufferSize = 0;
  std::size_t m_length = 0;
  std::unique_ptr<std::uint8_t[]> m_buffer;
  std::string m_instanceName;
};
