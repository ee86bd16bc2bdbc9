#pragma once
// What Renew and Rebind share: each lease the client names in its IAs is
// extended when it may be, and written back with lifetimes 0 when it was
// made on another link or its pool is closed to the client now. Nothing is
// created. The two differ in what an unknown lease and an empty IA mean
// (the hooks below) and in whether the server must be named.

#include <cstdint>

#include "dhcp6_server/CDHCP6LeaseProcessor.h"

class CDHCP6ExtendingProcessor : public CDHCP6LeaseProcessor {
 protected:
  using CDHCP6LeaseProcessor::CDHCP6LeaseProcessor;

  bool _processIANA(const CBinding6Identifier& id, Code& code) override;
  bool _processIAPD(const CBinding6Identifier& id, Code& code) override;
  // One IA Address (IA Prefix) option of the client's IA; false ends the
  // message with code.
  bool _processIAADDR(const CBinding6Identifier& id, const COption& clientOption, COptionPtr& ia,
                      std::uint32_t& minimum, Code& code);
  bool _processIAPrefix(const CBinding6Identifier& id, const COption& clientOption, COptionPtr& ia,
                        std::uint32_t& minimum, Code& code);

  // A named lease the server does not know: true to go on without it.
  virtual bool _unknownLease(const CBinding6Identifier& id, const char* line,
                             const nuv::CIPAddress& lease, Code& code) = 0;
  // A lease written back with lifetimes 0; line says why.
  virtual void _refused(const nuv::CMessage& line) = 0;
  // An IA for which nothing was written.
  virtual void _nothingWritten(const CBinding6Identifier& id, COptionPtr& ia,
                               const char* notRenewableLine) = 0;

 private:
  template <class Kind>
  bool _processIA(const CBinding6Identifier& id, Code& code);
  template <class Kind>
  bool _processLease(const CBinding6Identifier& id, const COption& clientOption, COptionPtr& ia,
                     std::uint32_t& minimum, Code& code);

  unsigned m_extended = 0;  // leases of the IA in progress given lifetimes
};
