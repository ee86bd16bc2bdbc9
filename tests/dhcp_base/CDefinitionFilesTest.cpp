// Which definition file a configured name means.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "dhcp_base/CDefinitionFiles.h"
#include "dhcp_base/COptionLookup.h"
#include "dhcp_base/CTagPath.h"

TEST(CDefinitionFilesTest, TheOperatorsCopyWinsOverTheShippedFile) {
  char tmpl[] = "/tmp/nuv_defs_XXXXXX";
  const std::string dir = mkdtemp(tmpl);
  // Not kept by the operator: the server's own file, which exists.
  const std::string shipped = CDefinitionFiles::resolve("options6.spec", dir);
  EXPECT_NE(shipped.find("/data/options6.spec"), std::string::npos) << shipped;
  EXPECT_EQ(access(shipped.c_str(), R_OK), 0) << shipped;

  std::ofstream(dir + "/options6.spec")
      << "spec_name = site\n\ntagpath = 65280\ntype = 8bit\nname = site-one\n";
  EXPECT_EQ(CDefinitionFiles::resolve("options6.spec", dir), dir + "/options6.spec");
  EXPECT_EQ(CDefinitionFiles::resolve("/etc/x.spec", dir), "/etc/x.spec");

  COptionLookup lookup;
  CDefinitionFiles::readOptions(lookup, CDefinitionFiles::resolve("options6.spec", dir));
  EXPECT_TRUE(lookup.exists(CTagPath{65280}, CVendorID::reserved()));
  std::filesystem::remove_all(dir);
}
