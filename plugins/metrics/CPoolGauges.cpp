#include "plugins/metrics/CPoolGauges.h"

#include "dhcp_base/CDefinitionFiles.h"
#include "extended/CMasterController.h"
#include "oodb/CPrstTransaction.h"
#include "oodb_persistence/CIDatabaseInit.h"

CPoolGauges::CPoolGauges(CMasterController& controller)
    : m_controller(controller), m_evaluator(&controller), m_context(6, &controller) {
  m_context.evaluator(&m_evaluator);
}

CPoolGauges::~CPoolGauges() {
  // Records hold options of the context: the session goes first.
  m_session.reset();
}

void CPoolGauges::_open() {
  if (!m_definitionsRead) {
    CDefinitionFiles::readConfigured(m_context, *m_controller.config(), m_controller.varDir());
    m_definitionsRead = true;
  }
  m_session = CIDatabaseInit::find(m_controller).openSession({&m_factory});
}

std::vector<CPoolUsage> CPoolGauges::read() {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto now = std::chrono::steady_clock::now();
  if (m_read && now - m_readAt < kMaxAge) return m_last;
  try {
    if (!m_session) _open();
    CPrstTransaction tx(*m_session);  // read only: rolled back
    m_last = CPoolUsage::read(*m_session);
  } catch (const nuv::CException& e) {
    ++m_failures;
    m_controller.log().log(
        nuv::sev_error,
        nuv::CMessage("Cannot read the pools for the metrics: %1").pushs(e.printableError()));
    // A session that failed may be broken; the next read opens a new one.
    m_session.reset();
  }
  m_readAt = now;
  m_read = true;
  return m_last;
}
