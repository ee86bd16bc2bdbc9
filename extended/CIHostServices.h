#pragma once
// The two host services a part needs that knows nothing of plug-ins: the
// current configuration and the process log. The expression evaluator takes
// only this.

#include <memory>

#include "extended/CLogSink.h"
#include "standard/CConfig.h"

class CIHostServices {
 public:
  virtual ~CIHostServices() = default;

  // The configuration in force; a reload swaps in a new one, so callers
  // keep the pointer for as long as they read it.
  virtual std::shared_ptr<const nuv::CConfig> config() const = 0;
  virtual CLogSink& log() = 0;
};
