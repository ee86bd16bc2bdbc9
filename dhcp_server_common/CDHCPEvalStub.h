#pragma once
// Stands in for a missing evaluator module: expressions parse as usual, but
// executing one logs that no evaluator is loaded and yields nothing, so
// that callers see "evaluates to nothing" rather than a failure.

#include "exp_eval/CExpEval.h"

class CMasterController;

class CDHCPEvalStub : public nuv::CExpEval {
 public:
  explicit CDHCPEvalStub(CMasterController* controller);

  void execute(nuv::CVariant& result, const nuv::CSyntaxTreeProxy& tree) const override;
  void execute(nuv::CMultiVariant& results, const nuv::CSyntaxTreeProxy& tree) const override;

 private:
  void _report() const;

  CMasterController* m_controller;  // the host's, for its exception facade; not owned
};
