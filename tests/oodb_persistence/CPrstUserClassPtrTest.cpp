#include <gtest/gtest.h>

#include "oodb/CPrstUserClassPtr.h"
#include "tests/fixtures/CPrstBackendTest.h"
#include "tests/fixtures/FailureOf.h"

class CPrstUserClassPtrTest : public CPrstBackendTest {};

TEST_P(CPrstUserClassPtrTest, AnEmptyHandleFailsWithoutTouchingTheDatabase) {
  const Failure expected{"oodb_persistence", "CPrstUserClassPtr::_createIf",
                         "Cannot dereference persistent object of type 'CTestRecord'.",
                         "No such object."};
  CPrstUserClassPtr<CTestRecord> never;
  EXPECT_TRUE(never.empty());
  EXPECT_FALSE(never);
  EXPECT_EQ(failureOf([&] { never->name.get(); }), expected);
  CPrstUserClassPtr<CTestRecord> noKey(session.get(), CPrstSimpleID::kNoPK);
  EXPECT_EQ(failureOf([&] { *noKey; }), expected);
  EXPECT_FALSE(session->inTransaction());
  EXPECT_TRUE(database->controller.logSink.lines.size() < 3);  // nothing beyond the open
}

TEST_P(CPrstUserClassPtrTest, LazyHandlesLoadOnFirstUse) {
  session->begin();
  auto r = session->createTransient<CTestRecord>();
  r->name = "lazy";
  r->commit();
  session->commit();
  const auto pk = r->pk();

  auto other = database->session();
  CPrstUserClassPtr<CTestRecord> lazy(other.get(), pk);
  EXPECT_FALSE(lazy.loaded());
  EXPECT_EQ(lazy->name.get(), "lazy");
  EXPECT_TRUE(lazy.loaded());

  CPrstUserClassPtr<CTestRecord> gone(other.get(), pk + 1000);
  EXPECT_EQ(failureOf([&] { gone->name.get(); }).why, "No such object.");
}

NUV_PRST_BACKENDS(CPrstUserClassPtrTest);
