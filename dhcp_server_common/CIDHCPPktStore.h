#pragma once
// The packet store: keeps received messages and sent replies for failover
// and lease query. Found through a plug-in providing "CIDHCPPktStoreFactory".
// The four identifiers are the message's subscriber-id, circuit-id,
// remote-id and client-id; the account is the provisioned client's. The
// message's text form is made only when the store calls for it: most
// stores keep the bytes only, and printing a message costs more than
// processing it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "oodb/CAccessID.h"
#include "standard/CHexStore.h"

class CIDHCPContext;

using CPktText = std::function<std::string()>;

class CIDHCPPktStore {
 public:
  virtual ~CIDHCPPktStore() = default;
  virtual void inputFromNode(const CAccessID& account, std::uint8_t messageType,
                             const nuv::CHexStore& subscriberID, const nuv::CHexStore& circuitID,
                             const nuv::CHexStore& remoteID, const nuv::CHexStore& clientID,
                             const CPktText& text, const std::uint8_t* bytes,
                             std::size_t length) = 0;
  virtual void outputToNode(const CAccessID& account, std::uint8_t replyType,
                            std::uint8_t requestType, const nuv::CHexStore& subscriberID,
                            const nuv::CHexStore& circuitID, const nuv::CHexStore& remoteID,
                            const nuv::CHexStore& clientID, const CPktText& text,
                            const std::uint8_t* bytes, std::size_t length) = 0;
};

class CIDHCPPktStoreFactory {
 public:
  virtual ~CIDHCPPktStoreFactory() = default;
  virtual std::shared_ptr<CIDHCPPktStore> createPktStore(CIDHCPContext& context) = 0;
};
