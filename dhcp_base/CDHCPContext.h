#pragma once
// Per server: the protocol family with its wire widths and code classes,
// the option and vendor definitions, the option factory with its pools,
// and the evaluator that expression options run on. Every option holds a
// pointer to the context that created it; the context must outlive them.

#include <cstdint>
#include <memory>
#include <string>

#include "dhcp_base/CJSONPolicy.h"
#include "extended/CProtocolFamily.h"

class CMasterController;
class COptionFactory;
class COptionLookup;
class CTagPath;
class CVendorLookup;
namespace nuv {
class CExpEval;
}

struct CProtocolAttributes {
  std::uint8_t tagWidth;
  std::uint8_t lenWidth;
  std::uint8_t typeWidth;
  std::uint32_t endCode;
};

class CDHCPContext {
 public:
  explicit CDHCPContext(CProtocolFamily family = 6, CMasterController* controller = nullptr);
  CDHCPContext(const CDHCPContext&) = delete;
  CDHCPContext& operator=(const CDHCPContext&) = delete;
  virtual ~CDHCPContext();

  CProtocolFamily family() const { return m_family; }
  const CProtocolAttributes& protocol() const { return m_protocol; }
  // "ip6.dhcp6" for this server.
  std::string configPrefix() const;

  bool isServerControlOption(std::uint32_t code) const;
  bool isSiteSpecificOption(std::uint32_t code) const;
  bool isVendorSpecificOption(const CTagPath& path) const;

  COptionFactory& factory() { return *m_factory; }
  COptionLookup& optionLookup() { return *m_options; }
  const COptionLookup& optionLookup() const { return *m_options; }
  CVendorLookup& vendorLookup() { return *m_vendors; }
  const CVendorLookup& vendorLookup() const { return *m_vendors; }

  CJSONPolicy jsonPolicy() const { return m_json; }
  void jsonPolicy(CJSONPolicy policy) { m_json = policy; }
  bool localTime() const { return m_localTime; }
  void localTime(bool local) { m_localTime = local; }

  // The evaluator expression options run on; none: they evaluate to nothing.
  const nuv::CExpEval* evaluator() const { return m_eval; }
  void evaluator(const nuv::CExpEval* eval) { m_eval = eval; }
  CMasterController* controller() const { return m_controller; }

 private:
  CProtocolFamily m_family;
  CProtocolAttributes m_protocol;
  CMasterController* m_controller;
  const nuv::CExpEval* m_eval = nullptr;
  CJSONPolicy m_json;
  bool m_localTime = false;
  std::unique_ptr<COptionLookup> m_options;
  std::unique_ptr<CVendorLookup> m_vendors;
  std::unique_ptr<COptionFactory> m_factory;
};
