#include "extended/CInterfaceAddresses.h"

namespace {

bool numbersClients(const nuv::CIPAddress& a) {
  if (!a.isValid() || a.bitWidth() != 128) return false;
  const std::uint8_t* b = a.raw();
  const bool linkLocal = b[0] == 0xfe && (b[1] & 0xc0) == 0x80;
  const bool multicast = b[0] == 0xff;
  const nuv::CIPAddress loopback("::1");
  return !linkLocal && !multicast && a != loopback && a != nuv::CIPAddress(a.type());
}

}  // namespace

CInterfaceAddresses::CInterfaceAddresses(Lister lister)
    : m_lister(lister ? std::move(lister)
                      : [] { return CInterfaceEnum::find(CProtocolFamily(6)); }) {}

std::shared_ptr<const CInterfaceAddresses::Addresses> CInterfaceAddresses::find(unsigned index) {
  const std::time_t now = std::time(nullptr);
  auto it = m_byIndex.find(index);
  if (it == m_byIndex.end() || now - m_readAt >= kMaxAge) {
    // An unknown index is looked for again at most once a second.
    if (it == m_byIndex.end() && now == m_readAt) return m_none;
    _refresh(now);
    it = m_byIndex.find(index);
  }
  return it == m_byIndex.end() ? m_none : it->second;
}

bool CInterfaceAddresses::isOwn(const nuv::CIPAddress& address) {
  const std::time_t now = std::time(nullptr);
  if (now - m_readAt >= kMaxAge || (!m_all.count(address) && now != m_readAt)) _refresh(now);
  return m_all.count(address) != 0;
}

void CInterfaceAddresses::lister(Lister lister) {
  m_lister = std::move(lister);
  m_byIndex.clear();
  m_all.clear();
  m_readAt = 0;
}

void CInterfaceAddresses::_refresh(std::time_t now) {
  m_readAt = now;
  m_byIndex.clear();
  m_all.clear();
  for (const CInterfaceEnum::Detail& d : m_lister()) {
    auto addresses = std::make_shared<Addresses>();
    for (const nuv::CIPAddress& a : d.addresses) {
      m_all.insert(a);
      if (numbersClients(a)) addresses->push_back(a);
    }
    m_byIndex[d.index] = std::move(addresses);
  }
}
