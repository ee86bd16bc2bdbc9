#pragma once
// Packet rewriting: may change a datagram's bytes in place. Found through a
// plug-in providing "CIDHCPRewriteFactory".

#include <cstddef>
#include <cstdint>
#include <memory>

class CIDHCPContext;

class CIDHCPRewrite {
 public:
  virtual ~CIDHCPRewrite() = default;
  // length may change, but never beyond the buffer the caller gave.
  virtual void rewrite(std::uint8_t* bytes, std::size_t& length) = 0;
};

class CIDHCPRewriteFactory {
 public:
  virtual ~CIDHCPRewriteFactory() = default;
  virtual std::shared_ptr<CIDHCPRewrite> createRewrite(CIDHCPContext& context) = 0;
};
