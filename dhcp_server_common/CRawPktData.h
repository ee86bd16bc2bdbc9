#pragma once
// One received datagram: a buffer of fixed capacity (the packet size of its
// queue), the number of valid bytes, and where it came from and went to.

#include <cstddef>
#include <cstdint>

#include "standard/CHexStore.h"
#include "standard/CIPAddress.h"
#include "standard/CTimeT.h"

class CRawPktData {
 public:
  CRawPktData(std::size_t capacity, long packetID);

  // The whole buffer; the datagram is its first pktLen() bytes.
  std::uint8_t* buffer() { return m_pkt.data(); }
  const std::uint8_t* buffer() const { return m_pkt.data(); }
  std::size_t capacity() const { return m_pkt.size(); }
  const nuv::CHexStore& pkt() const { return m_pkt; }

  unsigned pktLen() const { return m_pktLen; }
  void pktLen(unsigned length) { m_pktLen = length; }
  nuv::CIPAddress& srcAddr() { return m_srcAddr; }
  std::uint16_t srcPort() const { return m_srcPort; }
  void srcPort(std::uint16_t port) { m_srcPort = port; }
  nuv::CIPAddress& dstAddr() { return m_dstAddr; }
  // The index of the interface it arrived on; 0 when unknown.
  unsigned interfaceIndex() const { return m_interfaceIndex; }
  void interfaceIndex(unsigned index) { m_interfaceIndex = index; }
  nuv::CTimeT& recvTime() { return m_recvTime; }
  long packetID() const { return m_packetID; }

  // Zeroes what the last datagram used and forgets both addresses.
  void reset();
  // A new capacity; the content is lost.
  void resize(std::size_t capacity);

 private:
  nuv::CHexStore m_pkt;
  unsigned m_pktLen = 0;
  nuv::CIPAddress m_srcAddr;
  std::uint16_t m_srcPort = 0;
  nuv::CIPAddress m_dstAddr;
  unsigned m_interfaceIndex = 0;
  nuv::CTimeT m_recvTime;
  long m_packetID;
};
