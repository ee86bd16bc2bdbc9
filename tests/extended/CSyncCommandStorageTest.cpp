#include <gtest/gtest.h>

#include <string>

#include "extended/CSyncCommandStorage.h"

namespace {

class CNoteCommand : public CSyncCommand {
 public:
  CNoteCommand(unsigned type, std::string& log) : CSyncCommand(type), m_log(log) {}
  void execute() override { m_log += std::to_string(type()); }

 private:
  std::string& m_log;
};

TEST(CSyncCommandStorage, RunsTheCommandsOfTheMaskInOrderAndKeepsThem) {
  const struct {
    unsigned mask;
    const char* ran;
  } cases[] = {
      {3, "1221"},  // after commit
      {5, "1441"},  // after a failure before commit
      {1, "11"},    // after a failure after commit
      {0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask);
    std::string log;
    CSyncCommandStorage storage;
    for (unsigned type : {1u, 2u, 4u, 2u, 4u, 1u})
      storage.append(std::make_unique<CNoteCommand>(type, log));
    storage.execute(c.mask);
    EXPECT_EQ(c.ran, log);
    EXPECT_EQ(6u, storage.size());
  }
}

TEST(CSyncCommandStorage, ClearDropsEverything) {
  std::string log;
  CSyncCommandStorage storage;
  storage.append(std::make_unique<CNoteCommand>(1, log));
  storage.clear();
  storage.execute(7);
  EXPECT_EQ("", log);
}

}  // namespace
