#include "dhcp_base/CVendorID.h"

const CVendorID& CVendorID::reserved() {
  static const CVendorID id{kReserved};
  return id;
}

const CVendorID& CVendorID::undefined() {
  static const CVendorID id{kUndefined};
  return id;
}

const CVendorID& CVendorID::system() {
  static const CVendorID id{kSystem};
  return id;
}
