#pragma once
// Base of the lease and policy record tests, run once per database engine
// (CPrstBackendTest: a fresh database whose statements include the
// provider's own): a DHCPv6 context with the shipped option catalogue and
// an expression evaluator, and a session whose records use that context.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COptionLookupFileReader.h"
#include "dhcp_database/CPrstDHCP6ObjectAbstractFactory.h"
#include "exp_eval/CExpEval.h"
#include "oodb/CDeviceAccessToken.h"
#include "oodb/CExtDomainID.h"
#include "oodb/CPrstTransaction.h"
#include "tests/fixtures/CPrstBackendTest.h"

class DHCPDatabaseTest : public CPrstBackendTest {
 protected:
  void SetUp() override {
    CPrstBackendTest::SetUp();
    if (!session) return;  // skipped, or the database did not open
    context = std::make_unique<CDHCPContext>(6, &database->controller);
    context->evaluator(&evaluator);
    COptionLookupFileReader(context->optionLookup())
        .execute(std::string(NUV_SOURCE_DIR) + "/data", "options6.spec");
    factory = std::make_unique<CPrstDHCP6ObjectAbstractFactory>(context.get());
    session = openSession();
  }
  void TearDown() override {
    session.reset();  // records hold options of the context
    factory.reset();
    context.reset();
    CPrstBackendTest::TearDown();
  }

  // A new session for the calling thread.
  std::unique_ptr<CPrstDBSession> openSession() {
    return database->db().openSession({factory.get()});
  }
  static std::shared_ptr<const CDeviceAccessToken> token(CDomainID domain) {
    return std::make_shared<CDeviceAccessToken>(domain, CAccessRights::read);
  }
  std::vector<std::string> logLines() const {
    std::lock_guard<std::mutex> lock(database->controller.logSink.mutex);
    return database->controller.logSink.lines;
  }

  nuv::CExpEval evaluator;
  std::unique_ptr<CDHCPContext> context;
  std::unique_ptr<CPrstDHCP6ObjectAbstractFactory> factory;
};
