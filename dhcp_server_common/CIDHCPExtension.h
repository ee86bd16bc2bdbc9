#pragma once
// An extension hook that sees every parsed datagram first. Found through a
// plug-in providing "CIDHCPExtensionFactory".

#include <memory>

class CIDHCPContext;

class CIDHCPExtension {
 public:
  virtual ~CIDHCPExtension() = default;
  virtual void init() = 0;
  virtual void close() = 0;
  // Negative: drop the datagram at once, silently.
  virtual int packet_received() = 0;
};

class CIDHCPExtensionFactory {
 public:
  virtual ~CIDHCPExtensionFactory() = default;
  virtual std::shared_ptr<CIDHCPExtension> createExtension(CIDHCPContext& context) = 0;
};
