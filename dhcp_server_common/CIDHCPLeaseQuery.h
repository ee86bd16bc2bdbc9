#pragma once
// Lease query: answers Leasequery messages. Found through a plug-in
// providing "CIDHCPLeaseQueryFactory".

#include <memory>

class CIDHCPContext;
class CNodeContext;
class CDHCP6Packet;

class CIDHCPLeaseQuery {
 public:
  virtual ~CIDHCPLeaseQuery() = default;
  virtual void refreshConfig() = 0;
  // Fills the reply; the result is the handler's transmit code (0 drop,
  // 1 transmit, 2 ignore).
  virtual int processLQ(CNodeContext& node, CDHCP6Packet& request, CDHCP6Packet& reply) = 0;
};

class CIDHCPLeaseQueryFactory {
 public:
  virtual ~CIDHCPLeaseQueryFactory() = default;
  virtual std::shared_ptr<CIDHCPLeaseQuery> createLeaseQuery(CIDHCPContext& context) = 0;
};
