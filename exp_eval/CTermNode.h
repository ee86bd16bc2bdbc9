#pragma once
// Leaves of the syntax tree: one constant operand each. The classes differ
// only by the operand type they are made for (the node factory picks one by
// the operand's type), so they share one implementation.

#include "exp_eval/CNodeBase.h"

namespace nuv {

class CTermNodeBase : public CNodeBase {
 public:
  explicit CTermNodeBase(CVariant value) : m_value(std::move(value)) {}

  CVariant value(const CExpEval&) const override { return m_value; }
  bool isTerminal() const override { return true; }
  const CVariant& constant() const { return m_value; }

 private:
  CVariant m_value;
};

template <CVariantType::data_type Type>
class CTermNode : public CTermNodeBase {
 public:
  using CTermNodeBase::CTermNodeBase;
};

using CUnknownTermNode = CTermNode<CVariantType::dt_unknown>;
using CIPAddressTermNode = CTermNode<CVariantType::dt_ipaddress>;
using CBooleanTermNode = CTermNode<CVariantType::dt_boolean>;
using CTimeTermNode = CTermNode<CVariantType::dt_time>;
using CStringTermNode = CTermNode<CVariantType::dt_string>;
using CHexStoreTermNode = CTermNode<CVariantType::dt_hexstore>;
using CIntegerTermNode = CTermNode<CVariantType::dt_integer>;
using CEndpointTermNode = CTermNode<CVariantType::dt_endpoint>;
using CUIntegerTermNode = CTermNode<CVariantType::dt_uinteger>;

}  // namespace nuv
