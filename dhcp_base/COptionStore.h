#pragma once
// The top of an option tree: a message's options (with its header
// pseudo-options) or an option set held in a policy. Adds the instance
// name and the label printed for each contained option.
//
// Text form: one "name = value" line per option. Reading takes the same
// lines (blanks around name, "=" and value ignored, empty lines skipped);
// a value in square brackets becomes an expression option, evaluated when
// the set is written.

#include <string>

#include "dhcp_base/CEncodedIO.h"
#include "dhcp_base/CStorageOption.h"

class COptionStore
    : public CStorageOption<COption::Ptr, CTopEncodedIO, COptionType::ot_topencoded> {
 public:
  using CStorageOption::string;
  std::string string() const override;
  void string(std::string_view text, COptionInputContext& ic) override;
  std::string instanceName() const override { return m_instanceName; }
  // One line per option, each behind the element prefix ("host-option 1
  // client-id ...").
  std::string dump() const override;
  void reset() override;
  COption::Ptr clone(CDHCPContext* ctx, COption* parent) const override;
  // A deep copy with the same names.
  nuv::CGeneralPtr<COptionStore> clone(CDHCPContext* ctx) const;

  void setJSONValue(const nlohmann::json& value, COptionInputContext& ic) override;

  // Encodes each option that goes on the wire (not server settings, not
  // expressions, which are computed per message) on its own and decodes
  // it again with the same definitions, as a client would read it. Throws
  // "Option '%1' would be sent malformed." with the decoder's reason.
  void checkWire() const;

  const std::string& elementPrefix() const { return m_elementPrefix; }
  void elementPrefix(std::string prefix) { m_elementPrefix = std::move(prefix); }
  void instanceName(std::string name) { m_instanceName = std::move(name); }

 private:
  std::string m_instanceName;
  std::string m_elementPrefix;
};

using COptionStorePtr = nuv::CGeneralPtr<COptionStore>;
