#include "dhcp_server_common/CRawPktData.h"

#include <algorithm>
#include <cstring>

CRawPktData::CRawPktData(std::size_t capacity, long packetID) : m_packetID(packetID) {
  m_pkt.resize(capacity);
}

void CRawPktData::reset() {
  std::memset(m_pkt.data(), 0, std::min<std::size_t>(m_pktLen, m_pkt.size()));
  m_pktLen = 0;
  m_srcAddr = nuv::CIPAddress();
  m_srcPort = 0;
  m_dstAddr = nuv::CIPAddress();
  m_interfaceIndex = 0;
}

void CRawPktData::resize(std::size_t capacity) {
  m_pkt.clear();
  m_pkt.resize(capacity);
  m_pktLen = 0;
}
