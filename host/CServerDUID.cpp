#include "host/CServerDUID.h"

#include <fcntl.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <fstream>

#include "extended/CDHCPConfigNames.h"
#include "standard/CDurableFile.h"
#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace {
// DUID-LLT times count from 2000-01-01 00:00:00 UTC.
constexpr std::time_t kDuidEpoch = 946684800;

// A DUID the server may send: a known type at its proper length, or any
// other type of 3 to 130 bytes (the protocol's bounds).
bool usable(const nuv::CHexStore& duid) {
  if (duid.size() < 3 || duid.size() > 130) return false;
  switch (duid[0] << 8 | duid[1]) {
    case 1:  // LLT: type, hardware type, time, link-layer address
      return duid.size() >= 9;
    case 2:  // EN: type, enterprise number, identifier
      return duid.size() >= 7;
    case 3:  // LL: type, hardware type, link-layer address
      return duid.size() >= 5;
    case 4:  // UUID
      return duid.size() == 18;
    default:
      return true;
  }
}
}  // namespace

nuv::CHexStore CServerDUID::makeLLT(const std::uint8_t* mac, std::size_t len, std::uint16_t hwType,
                                    std::time_t now) {
  const std::uint32_t t = static_cast<std::uint32_t>(now - kDuidEpoch);
  const std::uint8_t head[] = {0,
                               1,
                               static_cast<std::uint8_t>(hwType >> 8),
                               static_cast<std::uint8_t>(hwType),
                               static_cast<std::uint8_t>(t >> 24),
                               static_cast<std::uint8_t>(t >> 16),
                               static_cast<std::uint8_t>(t >> 8),
                               static_cast<std::uint8_t>(t)};
  nuv::CHexStore duid(head, sizeof head);
  duid.append(mac, len);
  return duid;
}

nuv::CHexStore CServerDUID::makeUUID() {
  std::ifstream in("/proc/sys/kernel/random/uuid");
  std::string text;
  std::getline(in, text);
  std::string hex;
  for (char c : text)
    if (c != '-') hex += c;
  if (hex.size() != 32)
    NUV_THROW("CServerDUID::makeUUID", nuv::CMessage("Cannot create a server DUID."),
              nuv::CMessage("No hardware address and no UUID source."));
  nuv::CHexStore duid = nuv::CHexStore::parse(hex, "");
  const std::uint8_t head[] = {0, 4};
  nuv::CHexStore out(head, sizeof head);
  out.append(duid);
  return out;
}

bool CServerDUID::findHardwareAddress(std::uint8_t (&mac)[32], std::size_t& len,
                                      std::uint16_t& hwType) {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return false;
  bool found = false;
  for (ifaddrs* i = list; i && !found; i = i->ifa_next) {
    if (!i->ifa_addr || i->ifa_addr->sa_family != AF_PACKET || (i->ifa_flags & IFF_LOOPBACK))
      continue;
    const auto* ll = reinterpret_cast<const sockaddr_ll*>(i->ifa_addr);
    if (ll->sll_halen == 0 || ll->sll_halen > sizeof mac) continue;
    bool allZero = true;
    for (int k = 0; k < ll->sll_halen; ++k) allZero = allZero && ll->sll_addr[k] == 0;
    if (allZero) continue;
    std::copy(ll->sll_addr, ll->sll_addr + ll->sll_halen, mac);
    len = ll->sll_halen;
    hwType = ll->sll_hatype;
    found = true;
  }
  freeifaddrs(list);
  return found;
}

nuv::CHexStore CServerDUID::obtain(const nuv::CConfig& config, const std::string& varDir) {
  if (const std::string* configured = config.getp(CDHCPConfigNames::serverDUID())) {
    const std::string text = nuv::trim(*configured);
    const bool dashed = text.find('-') != std::string::npos;
    const bool coloned = text.find(':') != std::string::npos;
    nuv::CHexStore duid = nuv::CHexStore::parse(text, dashed ? "-" : coloned ? ":" : "");
    duid.setSeparator("-");
    if (!usable(duid))
      NUV_THROW("CServerDUID::obtain", nuv::CMessage("Cannot use server DUID '%1'.").pushs(text),
                nuv::CMessage("A DUID has 3 to 130 bytes, and those its type requires."));
    return duid;
  }
  const std::string path = varDir + "/" + kFileName;
  std::ifstream in(path);
  if (in) {
    std::string text;
    std::getline(in, text);
    nuv::CHexStore duid;
    try {
      duid = nuv::CHexStore::parse(nuv::trim(text), "-");
    } catch (const nuv::CException&) {
    }
    if (!usable(duid))
      NUV_THROW("CServerDUID::obtain",
                nuv::CMessage("Cannot use the server DUID kept in '%1'.").pushs(path),
                nuv::CMessage("The file holds no valid DUID; restore it, or remove it to make a "
                              "new one (clients then see a new server)."));
    return duid;
  }
  std::uint8_t mac[32];
  std::size_t len = 0;
  std::uint16_t hwType = 1;
  const nuv::CHexStore duid = findHardwareAddress(mac, len, hwType)
                                  ? makeLLT(mac, len, hwType, std::time(nullptr))
                                  : makeUUID();
  mkdir(varDir.c_str(), 0750);
  nuv::CDurableFile::write(path, duid.string() + "\n");
  return duid;
}
