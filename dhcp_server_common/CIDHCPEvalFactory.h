#pragma once
// The expression evaluator with packet data: found through a plug-in
// providing "CIDHCPEvalFactory". The evaluator reaches the packet in
// progress (its outgoing packet and incoming node context) through the
// context it is made for.

#include <memory>

#include "exp_eval/CExpEval.h"

class CIDHCPContext;

class CIDHCPEvalFactory {
 public:
  virtual ~CIDHCPEvalFactory() = default;
  virtual std::shared_ptr<nuv::CExpEval> createEval(CIDHCPContext& context) = 0;
};
