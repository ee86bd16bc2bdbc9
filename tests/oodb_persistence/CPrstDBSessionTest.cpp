#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

#include "oodb/CPrstKeyValue.h"
#include "oodb/CPrstTransaction.h"
#include "oodb_persistence/CPrstDBSession.h"
#include "tests/fixtures/CPrstBackendTest.h"
#include "tests/fixtures/FailureOf.h"

class CPrstDBSessionTest : public CPrstBackendTest {
 protected:
  CPrstUserClassPtr<CTestRecord> addRecord(const std::string& name, std::uint32_t counter = 0) {
    auto r = session->createTransient<CTestRecord>();
    r->name = name;
    r->counter = counter;
    r->commit();
    return r;
  }
  // A record stored in a transaction of its own.
  CPrstUserClassPtr<CTestRecord> stored(const std::string& name) {
    session->begin();
    auto r = addRecord(name);
    session->commit();
    return r;
  }
  std::vector<CPrstUserClassPtr<CTestRecord>> named(CPrstDBSession& s, const std::string& name) {
    return s.select<CTestRecord>("test.name", byName(name));
  }
  std::int64_t count(CPrstDBSession& s, const char* statement = "keyvalue.count") {
    return s.selectCount(statement, nuv::CStringMap());
  }
  nuv::CStringMap byName(const std::string& name) {
    nuv::CStringMap args;
    args.set("NAME", name);
    return args;
  }
};

TEST_P(CPrstDBSessionTest, CreateCommitFindUpdateDelete) {
  session->begin();
  auto kv = session->createTransient<CPrstKeyValue>();
  EXPECT_TRUE(kv->isTransient());
  kv->name("greeting");
  kv->value("hello");
  kv->commit();
  const auto pk = kv->pk();
  EXPECT_EQ(kv->identity(), pk);  // the identity is the first row key
  EXPECT_GT(kv->modTime().get(), 0);
  session->commit();

  auto other = database->session();  // a second connection sees the commit
  auto found = other->select<CPrstKeyValue>("keyvalue.name", byName("greeting"));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0]->value(), "hello");
  EXPECT_EQ(found[0]->pk(), pk);

  other->begin();
  found[0]->value("changed");
  found[0]->commit();
  other->commit();

  kv->refresh();
  EXPECT_EQ(kv->value(), "changed");

  session->begin();
  kv->deletePersistent();
  kv->commit();
  session->commit();
  EXPECT_TRUE(kv->isDeletedPersistent());
  EXPECT_TRUE(kv->isTransient());
  EXPECT_EQ(count(*other), 0);
}

TEST_P(CPrstDBSessionTest, RollbackRestoresObjectsAndRows) {
  session->begin();
  auto kept = session->createTransient<CPrstKeyValue>();
  kept->name("kept");
  kept->value("v1");
  kept->commit();
  session->commit();

  session->begin();
  kept->value("v2");
  kept->commit();
  auto added = session->createTransient<CPrstKeyValue>();
  added->name("added");
  added->commit();
  EXPECT_FALSE(added->isTransient());
  session->rollback();

  // The changed object has its stored value again, the new one is new again.
  EXPECT_EQ(kept->value(), "v1");
  EXPECT_FALSE(kept->isDirty());
  EXPECT_TRUE(added->isTransient());
  EXPECT_TRUE(added->isDirty());
  EXPECT_EQ(count(*session), 1);

  // Stored again, the new object gets a row; the old one can still change.
  session->begin();
  added->commit();
  kept->value("v3");
  kept->commit();
  session->commit();
  EXPECT_EQ(count(*session), 2);
  EXPECT_EQ(database->session()->select<CPrstKeyValue>("keyvalue.name", byName("kept"))[0]->value(),
            "v3");
}

TEST_P(CPrstDBSessionTest, InMemoryRollbackAndScopedTransaction) {
  {
    CPrstTransaction tx(*session);
    addRecord("a", 1);
    tx.commit();
  }
  auto r = named(*session, "a")[0];
  r->counter = 7;
  r->rollback();
  EXPECT_EQ(r->counter.get(), 1u);
  {
    CPrstTransaction tx(*session);
    r->counter = 9;
    r->commit();
  }  // left without commit: rolled back
  EXPECT_FALSE(session->inTransaction());
  EXPECT_EQ(r->counter.get(), 1u);
  EXPECT_EQ(named(*database->session(), "a")[0]->counter.get(), 1u);
}

TEST_P(CPrstDBSessionTest, FailingStatementRollsTheWholeTransactionBack) {
  stored("first");

  session->begin();
  auto fresh = addRecord("second");
  auto dup = session->createTransient<CTestRecord>();
  dup->name = "first";  // NAME is unique
  try {
    dup->commit();
    FAIL() << "a duplicate was stored";
  } catch (const CPrstDuplicateException& e) {
    EXPECT_EQ(e.module, "oodb_persistence");
    EXPECT_EQ(e.whatText(), "Cannot run sql statement 'INSERT_ALL_FIELDS@test_records'.");
  }
  EXPECT_FALSE(session->inTransaction());
  EXPECT_TRUE(dup->isTransient());
  EXPECT_TRUE(fresh->isTransient());  // its insert went with the transaction
  EXPECT_EQ(session->select<CTestRecord>("test.all").size(), 1u);
  // The session carries on with the next transaction.
  session->begin();
  fresh->commit();
  session->commit();
  EXPECT_EQ(session->select<CTestRecord>("test.all").size(), 2u);
}

TEST_P(CPrstDBSessionTest, ADuplicateUnderASavepointLeavesTheTransactionUsable) {
  stored("first");

  session->begin();
  auto before = addRecord("before");  // written before the savepoint: kept
  auto dup = session->createTransient<CTestRecord>();
  dup->name = "first";  // NAME is unique
  dup->counter = 4;
  auto relay = session->createTransient<CPrstIPAddress>();
  relay->address(nuv::CIPAddress("2001:db8::1"));
  dup->relays.add(relay);
  EXPECT_FALSE(dup->commitUnique());
  EXPECT_TRUE(session->inTransaction());
  // Left as the caller built it, ready to be stored under another name.
  EXPECT_TRUE(dup->isTransient());
  EXPECT_TRUE(dup->isDirty());
  EXPECT_EQ(dup->counter.get(), 4u);
  auto after = session->createTransient<CTestRecord>();
  after->name = "after";
  EXPECT_TRUE(after->commitUnique());
  EXPECT_FALSE(after->isTransient());
  session->commit();

  auto other = database->session();
  std::vector<std::string> names;
  for (const auto& r : other->select<CTestRecord>("test.all")) names.push_back(r->name.get());
  EXPECT_EQ(names, (std::vector<std::string>{"first", "before", "after"}));
  EXPECT_EQ(count(*session, "test.count_links"), 0);
  EXPECT_FALSE(before->isDirty());

  session->begin();
  dup->name = "renamed";
  EXPECT_TRUE(dup->commitUnique());
  session->commit();
  EXPECT_EQ(named(*other, "renamed")[0]->counter.get(), 4u);
  EXPECT_EQ(count(*session, "test.count_links"), 1);

  // Only new objects are stored under a savepoint.
  session->begin();
  EXPECT_EQ(failureOf([&] { dup->commitUnique(); }).why,
            "Only a new object is stored under a savepoint.");
  session->rollback();
}

TEST_P(CPrstDBSessionTest, OtherFailuresUnderASavepointRollTheWholeTransactionBack) {
  session->begin();
  auto home = session->createTransient<CPrstIPAddress>();
  home->address(nuv::CIPAddress("2001:db8::1"));
  home->commit();
  session->commit();
  auto other = database->session();
  other->begin();
  auto theirs = other->findPK<CPrstIPAddress>(home->pk());
  theirs->address(nuv::CIPAddress("2001:db8::2"));
  theirs->commit();
  other->commit();

  session->begin();
  auto fresh = addRecord("fresh");
  auto record = session->createTransient<CTestRecord>();
  record->name = "record";
  home->address(nuv::CIPAddress("2001:db8::3"));  // a stale update, written with the record
  record->home.set(home);
  EXPECT_THROW(record->commitUnique(), CPrstConflictException);
  EXPECT_FALSE(session->inTransaction());
  EXPECT_TRUE(fresh->isTransient());
  EXPECT_TRUE(record->isTransient());
}

// After the last key (2^31-1) a table's keys start at 1 again, and a key
// that a row from before still holds is skipped.
TEST_P(CPrstDBSessionTest, KeysStartAtOneAgainAndSkipTakenOnes) {
  const std::int32_t old = stored("old")->pk();
  session->connection().executeScript(
      GetParam() == "pgsql"
          ? "SELECT setval('test_records_gen', 2147483647 - 20)"
          : "UPDATE nuv_generators SET VALUE = 2147483647 - 20 WHERE NAME = 'test_records'");

  auto fresh = database->session();  // holds no keys reserved before
  fresh->begin();
  std::set<std::int32_t> keys;
  for (int i = 0; i < 40; ++i) {
    auto r = fresh->createTransient<CTestRecord>();
    r->name = "r" + std::to_string(i);
    r->commit();
    keys.insert(r->pk());
  }
  fresh->commit();
  EXPECT_EQ(keys.size(), 40u);
  EXPECT_EQ(keys.count(old), 0u);
  EXPECT_GE(*keys.begin(), 1);
  EXPECT_LT(*keys.begin(), 100);               // started again
  EXPECT_GT(*keys.rbegin(), 2147483647 - 21);  // after the last keys
  EXPECT_EQ(fresh->select<CTestRecord>("test.all").size(), 41u);
}

// Keys a session reserved in a transaction (or under a savepoint) that
// was rolled back are not used: another session may get them too.
TEST_P(CPrstDBSessionTest, KeysOfARolledBackReservationAreNotUsed) {
  auto consecutive = [&](const std::string& prefix) {
    auto s = database->session();
    s->begin();
    std::vector<std::int32_t> keys;
    for (int i = 0; i < 2; ++i) {
      auto r = s->createTransient<CTestRecord>();
      r->name = prefix + std::to_string(i);
      r->commit();
      keys.push_back(r->pk());
    }
    s->commit();
    return keys[1] == keys[0] + 1;
  };

  session->begin();
  addRecord("undone");
  session->rollback();
  EXPECT_TRUE(consecutive("b"));
  stored("kept");
  EXPECT_TRUE(consecutive("c"));

  auto fresh = database->session();
  fresh->begin();
  auto dup = fresh->createTransient<CTestRecord>();
  dup->name = "kept";  // NAME is unique: refused under its savepoint
  auto relay = fresh->createTransient<CPrstIPAddress>();
  relay->address(nuv::CIPAddress("2001:db8::1"));
  dup->relays.add(relay);
  EXPECT_FALSE(dup->commitUnique());
  auto after = fresh->createTransient<CTestRecord>();
  after->name = "after";
  after->commit();
  fresh->commit();
  EXPECT_TRUE(consecutive("d"));
}

TEST_P(CPrstDBSessionTest, ValuesOfTheFirstColumnUpToTheRowLimit) {
  session->begin();
  std::vector<std::int64_t> pks;
  for (const char* name : {"v1", "v2", "v3"}) pks.push_back(addRecord(name)->pk());
  session->commit();
  struct Case {
    std::size_t rows;
    std::size_t expected;
  };
  for (const Case& c : {Case{2, 2}, Case{3, 3}, Case{50, 3}}) {
    const auto values =
        session->selectValues("test.all", nuv::CStringMap(), CPrstSelectOptions().withRows(c.rows));
    ASSERT_EQ(values.size(), c.expected) << c.rows;
    for (std::size_t i = 0; i < values.size(); ++i) EXPECT_EQ(values[i].asInt64(), pks[i]);
  }
}

TEST_P(CPrstDBSessionTest, PartialCommitWritesTheOwnTableOnly) {
  session->begin();
  auto r = addRecord("p");
  auto relay = session->createTransient<CPrstIPAddress>();
  relay->address(nuv::CIPAddress("2001:db8::1"));
  r->relays.add(relay);
  r->counter = 5;
  r->fastPartialCommit();
  session->commit();
  EXPECT_EQ(count(*session, "test.count_links"), 0);
  auto other = database->session();
  EXPECT_EQ(named(*other, "p")[0]->counter.get(), 5u);
  session->begin();
  r->commit();
  session->commit();
  EXPECT_EQ(count(*session, "test.count_links"), 1);
}

TEST_P(CPrstDBSessionTest, PagingEndsWithAnEmptyPage) {
  session->begin();
  for (int i = 0; i < 5; ++i) addRecord("r" + std::to_string(i));
  session->commit();
  session->begin();
  auto page =
      session->select<CTestRecord>("test.all", nuv::CStringMap(), CPrstSelectOptions().withRows(5));
  EXPECT_EQ(page.size(), 5u);
  EXPECT_FALSE(page.exhausted());
  auto next = page.selectNext(5);
  EXPECT_TRUE(next.empty());
  EXPECT_TRUE(next.exhausted());

  auto first =
      session->select<CTestRecord>("test.all", nuv::CStringMap(), CPrstSelectOptions().withRows(2));
  auto second = first.selectNext(2);
  auto third = second.selectNext(2);
  ASSERT_EQ(third.size(), 1u);
  EXPECT_EQ(first[0]->name.get(), "r0");
  EXPECT_EQ(second[1]->name.get(), "r3");
  EXPECT_EQ(third[0]->name.get(), "r4");
  EXPECT_TRUE(third.exhausted());

  // Running the statement again ends the earlier query.
  auto a =
      session->select<CTestRecord>("test.all", nuv::CStringMap(), CPrstSelectOptions().withRows(1));
  session->select<CTestRecord>("test.all", nuv::CStringMap(), CPrstSelectOptions().withRows(1));
  EXPECT_EQ(failureOf([&] { a.selectNext(1); }).why, "Failed to continue transaction.");
  session->commit();
}

TEST_P(CPrstDBSessionTest, ObjectsAreSharedThroughTheCache) {
  auto r = stored("c");
  auto again = named(*session, "c");
  EXPECT_EQ(again[0].get(), r.get());
  // Unsaved changes win over the row read again.
  r->counter = 3;
  EXPECT_EQ(named(*session, "c")[0]->counter.get(), 3u);
  EXPECT_EQ(session->findPK<CTestRecord>(r->pk()).get(), r.get());
}

TEST_P(CPrstDBSessionTest, PrototypesByOwnAndBaseName) {
  EXPECT_EQ(session->prototype("CTestRecordBase").name(), "CTestRecord");
  stored("base");
  auto viaBase = session->select<CTestRecordBase>("test.all");
  ASSERT_EQ(viaBase.size(), 1u);
  EXPECT_EQ(viaBase[0]->typeName(), "CTestRecord");
  EXPECT_EQ(failureOf([&] { session->prototype("CPrstNothing"); }),
            (Failure{"oodb_persistence", "CPrstUserClassFactory::_prototype",
                     "Unable to find a factory for type 'CPrstNothing'.", "No such factory."}));
}

TEST_P(CPrstDBSessionTest, StatementFaults) {
  EXPECT_EQ(failureOf([&] { session->select<CTestRecord>("test.nothing"); }).what,
            "Unable to find precompiled statement 'test.nothing'.");
  EXPECT_EQ(failureOf([&] { session->select<CTestRecord>("test.name"); }).what,
            "Missing argument 'NAME' for sql statement 'test.name'.");
  EXPECT_EQ(failureOf([&] { session->select<CPrstKeyValue>("keyvalue.dom"); }).what,
            "Sql statement 'keyvalue.dom' needs an access token.");
  EXPECT_EQ(failureOf([&] { session->commit(); }).why,
            "Requested transaction type assumes a transaction already exists.");
}

TEST_P(CPrstDBSessionTest, WritingOutsideATransactionWarns) {
  auto r = session->createTransient<CTestRecord>();
  r->name = "implicit";
  r->commit();
  EXPECT_TRUE(session->inTransaction());
  EXPECT_TRUE(logged(
      "warning: A database transaction has been implicitly created. This should be avoided."));
  session->commit();
}

TEST_P(CPrstDBSessionTest, SessionsBelongToTheirThread) {
  std::string why;
  std::thread([&] { why = failureOf([&] { session->begin(); }).why; }).join();
  EXPECT_EQ(why, "Sessions are per thread.");
}

TEST_P(CPrstDBSessionTest, ConcurrentUpdatesAreNeverLost) {
  stored("counter");
  constexpr int kRounds = 25;
  std::atomic<int> conflicts{0};
  // Retries are bounded: a worker that keeps losing fails the test rather
  // than hanging it.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  auto worker = [&] {
    auto s = database->session();
    for (int i = 0; i < kRounds && std::chrono::steady_clock::now() < deadline;) {
      try {
        CPrstTransaction tx(*s);
        auto r = named(*s, "counter")[0];
        r->refresh();
        r->counter = r->counter.get() + 1;
        r->commit();
        tx.commit();
        ++i;
      } catch (const CPrstConflictException&) {
        ++conflicts;  // the database decided against this one: run it again
      }
    }
  };
  std::thread a(worker), b(worker);
  a.join();
  b.join();
  auto r = named(*session, "counter")[0];
  r->refresh();
  EXPECT_EQ(r->counter.get(), 2u * kRounds) << conflicts << " conflicts";
}

// A failure of any type while rows are read (here the payload's parser
// throws std::invalid_argument) rolls the transaction back and ends the
// statement: the session serves the next transaction, and no lock is left
// to keep another writer waiting.
TEST_P(CPrstDBSessionTest, AnyFailureWhileReadingRollsBack) {
  stored("broken");
  session->connection().executeScript(
      "UPDATE test_records SET PAYLOAD = 'x:y' WHERE NAME = 'broken'");

  session->begin();
  EXPECT_THROW(named(*session, "broken"), std::invalid_argument);
  EXPECT_FALSE(session->inTransaction());

  auto other = database->session();
  other->begin();
  named(*other, "none");
  auto fresh = other->createTransient<CTestRecord>();
  fresh->name = "after";
  fresh->commit();
  other->commit();
  session->begin();
  EXPECT_EQ(named(*session, "after").size(), 1u);
  session->commit();
}

// A read transaction keeps no writer out: had it taken the write lock, the
// writer's begin would wait out the busy time-out and fail. It may still
// write, and what it writes is one transaction: a rollback undoes it.
TEST_P(CPrstDBSessionTest, AReadTransactionLetsAWriterCommit) {
  stored("before");
  auto reader = database->session();
  reader->beginRead();
  EXPECT_EQ(named(*reader, "before").size(), 1u);
  stored("during");
  reader->commit();

  reader->beginRead();
  auto during = named(*reader, "during");
  ASSERT_EQ(during.size(), 1u);
  during[0]->counter = 7;
  during[0]->commit();
  reader->commit();
  EXPECT_EQ(named(*session, "during")[0]->counter.get(), 7u);

  reader->beginRead();
  during[0]->counter = 8;
  during[0]->commit();
  auto added = reader->createTransient<CTestRecord>();
  added->name = "undone";
  added->commit();
  reader->rollback();
  EXPECT_EQ(during[0]->counter.get(), 7u);
  auto other = database->session();
  EXPECT_EQ(named(*other, "during")[0]->counter.get(), 7u);
  EXPECT_TRUE(named(*other, "undone").empty());
}

TEST_P(CPrstDBSessionTest, AStaleUpdateIsAConflict) {
  auto mine = stored("stale");
  auto other = database->session();
  other->begin();
  auto theirs = named(*other, "stale")[0];
  theirs->counter = 1;
  theirs->commit();
  other->commit();

  session->begin();
  mine->counter = 2;  // based on the version read before the other commit
  try {
    mine->commit();
    FAIL() << "no conflict";
  } catch (const CPrstConflictException& e) {
    EXPECT_EQ(e.whyText(), "The row was changed or deleted by another transaction.");
  }
  EXPECT_FALSE(session->inTransaction());
  mine->refresh();
  EXPECT_EQ(mine->counter.get(), 1u);
}

// The database goes away under a session that has prepared its statements
// (PostgreSQL: the server ends the connection and refuses new ones;
// SQLite: the disk is full) and comes back: the session fails with
// "unavailable" meanwhile and serves again without being opened anew.
TEST_P(CPrstDBSessionTest, AnUnavailableDatabaseIsServedAgainOnceBack) {
  stored("before");
  const bool pg = GetParam() == "pgsql";
  auto goAway = [&] {
    if (pg) {
      CPrstTestDatabase::admin("ALTER DATABASE " + database->name + " ALLOW_CONNECTIONS false");
      CPrstTestDatabase::admin(
          "SELECT pg_terminate_backend(pid, 5000) FROM pg_stat_activity WHERE datname = '" +
          database->name + "'");
    } else {
      session->connection().executeScript("PRAGMA max_page_count = 1;");
    }
  };
  auto comeBack = [&] {
    if (pg)
      CPrstTestDatabase::admin("ALTER DATABASE " + database->name + " ALLOW_CONNECTIONS true");
    else
      session->connection().executeScript("PRAGMA max_page_count = 1000000;");
  };
  // Enough rows to need a page more than the file has.
  auto write = [&] {
    session->begin();
    for (int i = 0; i < 200; ++i) addRecord("during" + std::to_string(i));
    session->commit();
  };

  goAway();
  EXPECT_THROW(write(), CPrstUnavailableException);
  EXPECT_FALSE(session->inTransaction());
  EXPECT_THROW(write(), CPrstUnavailableException);
  comeBack();
  // A lost connection is tried again at most once a second.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (;;) {
    try {
      write();
      break;
    } catch (const CPrstUnavailableException& e) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << e.whyText();
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  EXPECT_EQ(named(*session, "before").size(), 1u);
  EXPECT_EQ(named(*session, "during199").size(), 1u);
}

// A connection the server ended between two transactions is replaced at
// the next begin, with no transaction failing for it.
TEST_P(CPrstDBSessionTest, AConnectionEndedBetweenTransactionsIsReplaced) {
  if (GetParam() != "pgsql") GTEST_SKIP() << "a connection of its own only on PostgreSQL";
  auto endConnections = [&] {
    CPrstTestDatabase::admin(
        "SELECT pg_terminate_backend(pid, 5000) FROM pg_stat_activity WHERE datname = '" +
        database->name + "'");
  };
  stored("before");
  endConnections();
  stored("after");
  // BEGIN goes with the first statement: a connection ended after it was
  // asked for has sent nothing of the transaction yet.
  session->begin();
  endConnections();
  addRecord("begun");
  session->commit();
  EXPECT_EQ(session->select<CTestRecord>("test.all").size(), 3u);
}

NUV_PRST_BACKENDS(CPrstDBSessionTest);
