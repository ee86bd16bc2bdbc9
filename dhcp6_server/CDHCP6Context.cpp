#include "dhcp6_server/CDHCP6Context.h"

#include "extended/CIDHCPController.h"
#include "standard/CException.h"

CDHCP6Context::CDHCP6Context(CIDHCPController* controller, bool master)
    : CIDHCPContext(CProtocolFamily(6), controller),
      m_controller(controller),
      m_master(master),
      m_mediator(*this, master),
      m_in(m_mediator.protocolAttributes().prototypePkt(this, "input_packet")),
      m_out(m_mediator.protocolAttributes().prototypePkt(this, "output_packet")),
      m_ncIn(this) {}

CDHCP6Context::~CDHCP6Context() = default;

void CDHCP6Context::init() {
  if (m_initialized)
    NUV_THROW("CDHCP6Context::init", nuv::CMessage("Failed to initialize a context."),
              nuv::CMessage("Context is already initialized."));
  clearMessage();
  m_initialized = true;
}

void CDHCP6Context::close() {
  m_mediator.close();
  clearMessage();
}

void CDHCP6Context::clearMessage() {
  m_ncIn.clear();
  m_in->clear();
  m_out->clear();
}

std::unique_ptr<CDHCP6Context> CDHCP6Context::clone() const {
  return std::make_unique<CDHCP6Context>(m_controller, false);
}

CIPrstSession& CDHCP6Context::prstSession() {
  if (!m_session)
    NUV_THROW("CDHCP6Context::prstSession",
              nuv::CMessage("Cannot use the database session of context '%1'.").pushs(m_name),
              nuv::CMessage("No database provider is open."));
  return *m_session;
}
