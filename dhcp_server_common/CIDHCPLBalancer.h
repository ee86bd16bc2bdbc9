#pragma once
// The load balancer of a server pair: decides which server answers a client.
// Found through a plug-in providing "CIDHCPLBalancerFactory". Callers make
// every call under methodLock(), since one balancer may serve all threads.

#include <cstdint>
#include <memory>
#include <mutex>

class CIDHCPContext;
class CNodeContext;

class CIDHCPLBalancer {
 public:
  virtual ~CIDHCPLBalancer() = default;
  virtual void refreshConfig() = 0;
  // elapsed: the client's Elapsed Time option value multiplied by 1000.
  virtual bool canService(CNodeContext& node, std::uint32_t elapsed) = 0;
  virtual void acceptTraffic() = 0;
  virtual void denyTraffic() = 0;

  std::mutex& methodLock() { return m_methodLock; }

 private:
  std::mutex m_methodLock;
};

class CIDHCPLBalancerFactory {
 public:
  virtual ~CIDHCPLBalancerFactory() = default;
  virtual std::shared_ptr<CIDHCPLBalancer> createLBalancer(CIDHCPContext& context) = 0;
};
