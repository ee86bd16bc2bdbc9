#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "extended/CPlugin.h"

namespace {

class CNamedPlugin : public CPlugin {
 public:
  explicit CNamedPlugin(std::string provides) : m_provides(std::move(provides)) {}
  std::string pluginInterface() const override { return m_provides; }

 private:
  std::string m_provides;
};

}  // namespace

TEST(CPluginTest, ConformsToTrimmedCaseSensitiveItems) {
  const CNamedPlugin p("CDHCP6Server, CIDHCPServer ,CPlugin");
  EXPECT_TRUE(p.conformsToInterface("CIDHCPServer"));
  EXPECT_TRUE(p.conformsToInterface("CPlugin"));
  EXPECT_FALSE(p.conformsToInterface("cidhcpserver"));
  EXPECT_FALSE(p.conformsToInterface("CIDHCP"));
  EXPECT_FALSE(p.conformsToInterface(""));
}
