// A burst of control messages reaches the server as a bounded number of
// events a second, and still as every change that was made.
#include <gtest/gtest.h>

#include <set>

#include "host/CControlIntake.h"

namespace {

std::shared_ptr<CAppEvent> change(const char* table, long oid, const char* type = "modify") {
  return std::make_shared<CObjectEvent>(0, type, table, oid);
}

std::vector<std::string> names(const std::vector<std::shared_ptr<CAppEvent>>& events) {
  std::vector<std::string> out;
  for (const auto& e : events) out.push_back(e->evtType + " " + e->evtClass + " " + e->evtInstance);
  return out;
}

}  // namespace

TEST(CControlIntakeTest, ChangesPassWithinTheBudgetAndWaitMergedBeyondIt) {
  CControlIntake intake(3, 4);
  for (long oid = 1; oid <= 3; ++oid) EXPECT_TRUE(intake.admit(change("dhcp_apools6", oid), 100));
  // The budget of second 100 is spent: 10,000 more changes wait, merged.
  for (long i = 0; i < 10000; ++i) {
    EXPECT_FALSE(intake.admit(change("dhcp_apools6", i % 2), 100));
    EXPECT_FALSE(intake.admit(change("dhcp_policies6", i, i % 2 ? "modify" : "add"), 100));
    EXPECT_FALSE(intake.admit(std::make_shared<CModeEvent>(0, i % 2 ? "paused" : "learning"), 100));
  }
  EXPECT_TRUE(intake.waiting());
  EXPECT_TRUE(intake.due(100).empty());  // not before the next second
  EXPECT_FALSE(intake.admit(change("dhcp_npools6", 9, "del"), 100));

  // Policies: 4 kept, then one for the whole table; the last mode counts;
  // first arrival decides the order.
  const auto due = intake.due(101);
  EXPECT_EQ(names(due), (std::vector<std::string>{"modify dhcp_apools6 0", "control mode paused",
                                                  "modify dhcp_apools6 1", "modify dhcp_policies6 ",
                                                  "del dhcp_npools6 9"}));
  EXPECT_FALSE(intake.waiting());
  EXPECT_EQ(intake.takeMerged(), 29996u);
  EXPECT_EQ(intake.takeMerged(), 0u);
  // They counted against second 101, which has room for none after them.
  EXPECT_FALSE(intake.admit(change("dhcp_apools6", 5), 101));
  EXPECT_TRUE(intake.due(101).empty());
  EXPECT_EQ(names(intake.due(102)), (std::vector<std::string>{"modify dhcp_apools6 5"}));
  EXPECT_TRUE(intake.admit(change("dhcp_apools6", 6), 103));
}

TEST(CControlIntakeTest, EveryChangedObjectArrivesWhateverTheOrderOfTheBurst) {
  // Whichever objects changed, each is named by an event, or its table is.
  CControlIntake intake(2, 8);
  std::set<std::string> announced;
  const auto take = [&](const std::vector<std::shared_ptr<CAppEvent>>& events) {
    for (const auto& e : events) announced.insert(e->evtClass + " " + e->evtInstance);
  };
  for (long i = 0; i < 100; ++i)
    if (auto e = intake.admit(change(i % 3 ? "dhcp_apools6" : "dhcp_npools6", i % 7), 7)) take({e});
  take(intake.due(8));
  for (long oid = 0; oid < 7; ++oid)
    for (const char* table : {"dhcp_apools6", "dhcp_npools6"})
      EXPECT_TRUE(announced.count(std::string(table) + " " + std::to_string(oid)) ||
                  announced.count(std::string(table) + " "))
          << table << " " << oid;
  EXPECT_LE(announced.size(), 2u + 14u);
}
