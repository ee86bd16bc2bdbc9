#include "extended/CInterfaceEnum.h"

#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

#include "standard/CException.h"

namespace {

int addressFamily(CProtocolFamily family) {
  return family.value() == 4 ? AF_INET : AF_INET6;
}

CInterfaceEnum::Detail& entry(std::vector<CInterfaceEnum::Detail>& list, const char* name) {
  auto it = std::find_if(list.begin(), list.end(),
                         [&](const CInterfaceEnum::Detail& d) { return d.name == name; });
  if (it != list.end()) return *it;
  CInterfaceEnum::Detail& d = list.emplace_back();
  d.name = name;
  d.index = if_nametoindex(name);
  return d;
}

}  // namespace

bool CInterfaceEnum::Detail::isLoopback() const {
  return (flags & IFF_LOOPBACK) || hardwareType == ARPHRD_LOOPBACK;
}

bool CInterfaceEnum::Detail::isMulticast() const {
  return flags & IFF_MULTICAST;
}

std::vector<CInterfaceEnum::Detail> CInterfaceEnum::find(CProtocolFamily family) {
  const int af = addressFamily(family);
  std::vector<Detail> all;
  if (!_fromIfaddrs(af, all)) _fromIoctl(af, all);
  all.erase(
      std::remove_if(all.begin(), all.end(), [](const Detail& d) { return d.addresses.empty(); }),
      all.end());
  return all;
}

unsigned CInterfaceEnum::indexByName(const std::string& name, CProtocolFamily family) {
  for (const Detail& d : find(family))
    if (d.name == name && d.index != 0) return d.index;
  NUV_THROW("CInterfaceEnum::indexByName",
            nuv::CMessage("Cannot find interface index for '%1' in protocol family %2.")
                .pushs(name)
                .push(unsigned{family.value()}),
            nuv::CMessage("Interface does not exist."));
}

bool CInterfaceEnum::_fromIfaddrs(int af, std::vector<Detail>& out) {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return false;
  const std::unique_ptr<ifaddrs, void (*)(ifaddrs*)> guard(list, freeifaddrs);
  for (const ifaddrs* ifa = list; ifa; ifa = ifa->ifa_next) {
    Detail& d = entry(out, ifa->ifa_name);
    d.flags = ifa->ifa_flags;
    if (!ifa->ifa_addr) continue;
    if (ifa->ifa_addr->sa_family == AF_PACKET)
      d.hardwareType = reinterpret_cast<const sockaddr_ll*>(ifa->ifa_addr)->sll_hatype;
    else if (ifa->ifa_addr->sa_family == af && af == AF_INET6)
      d.addresses.emplace_back(reinterpret_cast<const sockaddr_in6*>(ifa->ifa_addr)->sin6_addr);
    else if (ifa->ifa_addr->sa_family == af)
      d.addresses.emplace_back(reinterpret_cast<const sockaddr_in*>(ifa->ifa_addr)->sin_addr);
  }
  return true;
}

void CInterfaceEnum::_fromIoctl(int af, std::vector<Detail>& out) {
  if (af != AF_INET) return;
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0) return;
  std::vector<ifreq> requests(64);
  ifconf conf{};
  conf.ifc_len = static_cast<int>(requests.size() * sizeof(ifreq));
  conf.ifc_req = requests.data();
  if (::ioctl(fd, SIOCGIFCONF, &conf) == 0) {
    for (std::size_t i = 0; i < conf.ifc_len / sizeof(ifreq); ++i) {
      ifreq& req = requests[i];
      Detail& d = entry(out, req.ifr_name);
      d.addresses.emplace_back(reinterpret_cast<const sockaddr_in*>(&req.ifr_addr)->sin_addr);
      if (::ioctl(fd, SIOCGIFFLAGS, &req) == 0)
        d.flags = static_cast<unsigned short>(req.ifr_flags);
      if (::ioctl(fd, SIOCGIFHWADDR, &req) == 0) d.hardwareType = req.ifr_hwaddr.sa_family;
    }
  }
  ::close(fd);
}
