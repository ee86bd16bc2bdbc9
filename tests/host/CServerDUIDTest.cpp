#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "host/CServerDUID.h"
#include "standard/CException.h"
#include "tests/fixtures/FailureOf.h"
#include "tests/fixtures/TempPath.h"

namespace {
std::string freshDir(const char* name) {
  const std::string dir = tempPath(name);
  std::system(("rm -rf " + dir).c_str());
  return dir;
}
}  // namespace

TEST(CServerDUIDTest, ConfiguredDuidWinsInEitherSeparatorForm) {
  for (const char* text :
       {"00-03-00-01-AA-BB-CC-DD-EE-FF", "00:03:00:01:aa:bb:cc:dd:ee:ff", "00030001aabbccddeeff"}) {
    nuv::CConfig config;
    config.set("system.duid", text);
    EXPECT_EQ(CServerDUID::obtain(config, freshDir("duid_cfg")).string(),
              "00-03-00-01-AA-BB-CC-DD-EE-FF")
        << text;
  }
  nuv::CConfig bad;
  bad.set("system.duid", "00-zz");
  EXPECT_THROW(CServerDUID::obtain(bad, freshDir("duid_bad")), nuv::CException);
  bad.set("system.duid", "00-01");
  EXPECT_THROW(CServerDUID::obtain(bad, freshDir("duid_short")), nuv::CException);
}

TEST(CServerDUIDTest, MadeOnceAndKeptAcrossRestarts) {
  const std::string dir = freshDir("duid_keep");
  const nuv::CConfig none;
  const nuv::CHexStore first = CServerDUID::obtain(none, dir);
  ASSERT_GE(first.size(), 10u);
  EXPECT_TRUE(first[1] == 1 || first[1] == 4);  // DUID-LLT or DUID-UUID
  EXPECT_EQ(CServerDUID::obtain(none, dir), first);
}

TEST(CServerDUIDTest, LinkLayerPlusTimeLayout) {
  const std::uint8_t mac[] = {0x02, 0x00, 0x00, 0x00, 0x00, 0x01};
  // 2000-01-01 plus 0x01020304 seconds.
  const nuv::CHexStore duid = CServerDUID::makeLLT(mac, sizeof mac, 1, 946684800 + 0x01020304);
  EXPECT_EQ(duid.string(), "00-01-00-01-01-02-03-04-02-00-00-00-00-01");
  const nuv::CHexStore uuid = CServerDUID::makeUUID();
  EXPECT_EQ(uuid.size(), 18u);
  EXPECT_EQ(uuid[1], 4);
}

TEST(CServerDUIDTest, AKeptDuidThatIsNotOneStopsTheStartNamingTheFile) {
  for (const char* content : {"", "\n", "zz-zz\n", "00-01\n", "00-04-01-02\n"}) {
    const std::string dir = freshDir("duid_damaged");
    std::system(("mkdir -p " + dir).c_str());
    std::ofstream(dir + "/server.duid") << content;
    EXPECT_EQ(failureOf([&] { CServerDUID::obtain(nuv::CConfig(), dir); }).what,
              "Cannot use the server DUID kept in '" + dir + "/server.duid'.")
        << content;
  }
}

TEST(CServerDUIDTest, AFailedWriteLeavesNoDuidFile) {
  const std::string dir = freshDir("duid_full");
  std::system(("mkdir -p " + dir).c_str());
  // Whatever is written to the temporary file meets a full disk.
  ASSERT_EQ(symlink("/dev/full", (dir + "/server.duid.tmp").c_str()), 0);
  EXPECT_THROW(CServerDUID::obtain(nuv::CConfig(), dir), nuv::CException);
  EXPECT_NE(access((dir + "/server.duid").c_str(), F_OK), 0);
  // The next start, with room, makes and keeps one.
  const nuv::CHexStore made = CServerDUID::obtain(nuv::CConfig(), dir);
  EXPECT_EQ(CServerDUID::obtain(nuv::CConfig(), dir), made);
}
