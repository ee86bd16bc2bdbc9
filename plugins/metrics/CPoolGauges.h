#pragma once
// The pools' use for the metrics page, read on the HTTP thread with a
// database session of its own (never a worker's) and kept for a few
// seconds, so that scrapes cost the database little and the packet path
// nothing. A failed read keeps the last figures and is logged.

#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_database/CPoolUsage.h"
#include "dhcp_database/CPrstDHCP6ObjectAbstractFactory.h"
#include "exp_eval/CExpEval.h"
#include "oodb_persistence/CPrstDBSession.h"

class CMasterController;

class CPoolGauges {
 public:
  static constexpr std::chrono::seconds kMaxAge{5};

  explicit CPoolGauges(CMasterController& controller);
  ~CPoolGauges();

  // The figures, at most kMaxAge old (read now when they are older).
  std::vector<CPoolUsage> read();
  // Reads that failed since the start.
  std::uint64_t failures() const { return m_failures; }

 private:
  void _open();

  CMasterController& m_controller;
  std::mutex m_mutex;
  nuv::CExpEval m_evaluator;
  CDHCPContext m_context;
  CPrstDHCP6ObjectAbstractFactory m_factory{&m_context};
  std::unique_ptr<CPrstDBSession> m_session;
  std::vector<CPoolUsage> m_last;
  std::chrono::steady_clock::time_point m_readAt{};
  bool m_read = false;
  bool m_definitionsRead = false;
  std::uint64_t m_failures = 0;
};
