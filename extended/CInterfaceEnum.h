#pragma once
// The host's network interfaces as one protocol family sees them.
//
// find(family) lists the interfaces that have at least one address of the
// family, each with those addresses, its index, its IFF_* flags and its
// hardware type (ARPHRD_*). It reads the system's interface-address list
// and falls back to the interface-configuration ioctl, which only knows
// IPv4 addresses.

#include <string>
#include <vector>

#include "extended/CProtocolFamily.h"
#include "standard/CIPAddress.h"

class CInterfaceEnum {
 public:
  struct Detail {
    std::string name;
    unsigned index = 0;
    unsigned flags = 0;
    unsigned short hardwareType = 0;
    std::vector<nuv::CIPAddress> addresses;

    bool isLoopback() const;
    bool isMulticast() const;
  };

  static std::vector<Detail> find(CProtocolFamily family);
  // Raises when no interface of that name has an address of the family.
  static unsigned indexByName(const std::string& name, CProtocolFamily family);

 private:
  static bool _fromIfaddrs(int af, std::vector<Detail>& out);
  static void _fromIoctl(int af, std::vector<Detail>& out);
};
