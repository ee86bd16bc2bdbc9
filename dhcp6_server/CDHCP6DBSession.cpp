#include "dhcp6_server/CDHCP6DBSession.h"

#include "oodb_persistence/CPrstDBSession.h"
#include "standard/CStringMap.h"

CDHCP6DBSession::CDHCP6DBSession(std::unique_ptr<CPrstDBSession> session)
    : m_session(std::move(session)) {}

CDHCP6DBSession::~CDHCP6DBSession() = default;

void CDHCP6DBSession::startTransaction() {
  m_session->begin();
}

void CDHCP6DBSession::startReadTransaction() {
  m_session->beginRead();
}

void CDHCP6DBSession::commitTransaction() {
  // After a rollback the handler still commits what its failure commands
  // did; with no transaction open there is nothing to keep.
  if (m_session->inTransaction()) m_session->commit();
}

void CDHCP6DBSession::rollbackTransaction() {
  // A failed statement has already rolled the transaction back.
  if (m_session->inTransaction()) m_session->rollback();
}

unsigned CDHCP6DBSession::countAddressBindings() {
  return static_cast<unsigned>(m_session->selectCount(kCountStatement, nuv::CStringMap()));
}

void CDHCP6DBSession::close() {
  if (m_session->inTransaction()) m_session->rollback();
}
