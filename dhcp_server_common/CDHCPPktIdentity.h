#pragma once
// Who a message is from, as the packet store files it: the provisioned
// client's account and the message's four identifiers.

#include "oodb/CAccessID.h"
#include "standard/CHexStore.h"

struct CDHCPPktIdentity {
  CAccessID account;
  nuv::CHexStore subscriberID;
  nuv::CHexStore circuitID;
  nuv::CHexStore remoteID;
  nuv::CHexStore clientID;
};
