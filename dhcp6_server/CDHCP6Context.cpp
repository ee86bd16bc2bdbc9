#include "dhcp6_server/CDHCP6Context.h"

#include "dhcp6_server/CDHCP6UnframedExchange.h"
#include "standard/CException.h"

CDHCP6Context::CDHCP6Context(CIDHCPController* controller, bool master)
    : m_controller(controller),
      m_master(master),
      m_mediator(*this, master),
      m_exchange(std::make_unique<CDHCP6UnframedExchange>()) {}

CDHCP6Context::~CDHCP6Context() = default;

void CDHCP6Context::init() {
  if (m_initialized)
    NUV_THROW("CDHCP6Context::init", nuv::CMessage("Failed to initialize a context."),
              nuv::CMessage("Context is already initialized."));
  m_exchange->clear();
  m_initialized = true;
}

void CDHCP6Context::close() {
  m_mediator.close();
  m_exchange->clear();
}

std::unique_ptr<CDHCP6Context> CDHCP6Context::clone() const {
  return std::make_unique<CDHCP6Context>(m_controller, false);
}
