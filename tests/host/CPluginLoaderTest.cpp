#include <gtest/gtest.h>

#include <cstdlib>

#include "host/CPluginLoader.h"
#include "tests/fixtures/CRecordingController.h"
#include "tests/fixtures/TempPath.h"

namespace {

std::vector<std::string> g_calls;  // every plug-in operation, in order

class CFakePlugin : public CPlugin {
 public:
  CFakePlugin(std::string name, std::string provides, std::string requires_, int priority = 0,
              int openRc = 0, int runRc = 0)
      : m_name(std::move(name)),
        m_provides(std::move(provides)),
        m_requires(std::move(requires_)),
        m_priority(priority),
        m_openRc(openRc),
        m_runRc(runRc) {}
  int openPlugin() override { return note("open", m_openRc); }
  void closePlugin() override { note("close", 0); }
  int runPriority() const override { return m_priority; }
  int runPlugin() override { return note("run", m_runRc); }
  void shutdownPlugin() override { note("shutdown", 0); }
  std::string pluginName() const override { return m_name; }
  std::string pluginInterface() const override { return m_provides; }
  std::string requiredInterfaces() const override { return m_requires; }

 private:
  int note(const char* op, int rc) {
    g_calls.push_back(std::string(op) + " " + m_name);
    return rc;
  }
  std::string m_name, m_provides, m_requires;
  int m_priority, m_openRc, m_runRc;
};

void destroy(CPlugin* p) {
  g_calls.push_back("destroy " + p->pluginName());
  delete p;
}

class CPluginLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { g_calls.clear(); }
  void add(CFakePlugin* p) { host.plugins().addPlugin(p, &destroy, nullptr, p->pluginName()); }
  CRecordingController host;
};

}  // namespace

TEST_F(CPluginLoaderTest, OpensInDependencyPassesRunsByPriorityAndStopsInReverse) {
  // Loaded before its dependencies: it must wait for a later pass.
  add(new CFakePlugin("server", "CIDHCPServer", "CIDatabaseInit,CISystemBusFactory", 100));
  add(new CFakePlugin("bus", "CISystemBusFactory", "CIDatabaseInit", 0));
  add(new CFakePlugin("db", "CIDatabaseInit", "", 0));
  host.plugins().openPlugins();
  host.plugins().runPlugins();
  host.plugins().shutdownPlugins();
  const std::vector<std::string> expected = {
      "open db",         "open bus",     "open server",   // passes: db, then bus, then server
      "run bus",         "run db",       "run server",    // priority 0 in load order, then 100
      "shutdown server", "shutdown bus", "shutdown db",   // descending priority
      "close db",        "close bus",    "close server",  // reverse load order
      "destroy db",      "destroy bus",  "destroy server",
  };
  EXPECT_EQ(g_calls, expected);
  EXPECT_TRUE(host.logSink.contains("info: Unloading plugin 'server'."));
  EXPECT_TRUE(host.logSink.contains("info: Closing plugin 'db'."));
}

TEST_F(CPluginLoaderTest, MissingProviderIsADependencyFailureNamingTheWholeList) {
  add(new CFakePlugin("DHCPv6 Server", "CIDHCPServer",
                      "CIDatabaseInit,CIDHCPAddrMgrFactory,CISystemBusFactory", 100));
  add(new CFakePlugin("db", "CIDatabaseInit", ""));
  add(new CFakePlugin("am", "CIDHCPAddrMgrFactory", ""));
  host.plugins().openPlugins();
  EXPECT_TRUE(host.logSink.contains(
      "error: Dependency failure for plugin 'DHCPv6 Server'. This plugin requires: "
      "'CIDatabaseInit,CIDHCPAddrMgrFactory,CISystemBusFactory'."));
  EXPECT_EQ(host.plugins().loadedPlugins().size(), 2u);
  EXPECT_TRUE(host.findPluginTypes("CIDHCPServer").empty());
  EXPECT_EQ(g_calls.back(), "destroy DHCPv6 Server");
}

TEST_F(CPluginLoaderTest, FailedOpenAndRunUnload) {
  add(new CFakePlugin("quiet", "A", "", 0, 1));  // positive: unloaded without a message
  add(new CFakePlugin("loud", "B", "", 0, -1));  // negative: reported
  add(new CFakePlugin("needsA", "C", "A", 0));   // its provider vanished
  add(new CFakePlugin("norun", "D", "", 0, 0, 7));
  host.plugins().openPlugins();
  EXPECT_FALSE(host.logSink.contains("Failed to initialize plugin 'quiet'."));
  EXPECT_TRUE(host.logSink.contains("error: Failed to initialize plugin 'loud'."));
  EXPECT_TRUE(
      host.logSink.contains("Dependency failure for plugin 'needsA'. This plugin requires: 'A'."));
  host.plugins().runPlugins();
  EXPECT_TRUE(
      host.logSink.contains("error: Failed to run plugin 'norun'. This plugin will be unloaded."));
  EXPECT_TRUE(host.plugins().loadedPlugins().empty());
  const std::vector<std::string> tail(g_calls.end() - 3, g_calls.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"run norun", "close norun", "destroy norun"}));
}

TEST_F(CPluginLoaderTest, DuplicateNameIsRefused) {
  add(new CFakePlugin("same", "A", ""));
  add(new CFakePlugin("same", "B", ""));
  EXPECT_TRUE(host.logSink.contains("error: Plugin 'same' is already loaded."));
  EXPECT_EQ(host.plugins().loadedPlugins().size(), 1u);
}

TEST_F(CPluginLoaderTest, LoadsRealLibrariesAndReportsLoaderFailures) {
  setenv("NUV_TEST_PLUGIN_NAME", "From disk", 1);
  host.plugins().loadPlugins(
      {std::string("  ") + NUV_TEST_PLUGIN + " ", NUV_TEST_NOCREATOR, "/nonexistent/x.so"});
  EXPECT_TRUE(host.logSink.contains(std::string("Failed to resolve creator for plugin '") +
                                    NUV_TEST_NOCREATOR + "'."));
  EXPECT_TRUE(host.logSink.contains("Failed to load plugin '/nonexistent/x.so' with error '"));
  EXPECT_TRUE(host.logSink.contains("info: Loaded 1 plugins: From disk."));
  host.plugins().openPlugins();
  ASSERT_EQ(host.findPluginTypes("CITestService").size(), 1u);
  EXPECT_EQ(host.findPluginTypes("CITestService")[0]->controller(), &host);
  EXPECT_NE(host.findPluginTypes("CITestService")[0]->handle(), nullptr);
  host.plugins().shutdownPlugins();
  EXPECT_TRUE(host.logSink.contains("info: Unloading plugin 'From disk'."));
}

TEST_F(CPluginLoaderTest, CollectsPluginFilesFromListOrDirectory) {
  EXPECT_EQ(host.plugins().collectPluginFiles(" a.so, b.so ,,c.so"),
            (std::vector<std::string>{"a.so", "b.so", "c.so"}));
  const std::string dir = tempPath("plugins_scan");
  std::system(("rm -rf " + dir + " && mkdir -p " + dir + " && touch " + dir + "/b.so " + dir +
               "/a.so " + dir + "/notes.txt")
                  .c_str());
  EXPECT_EQ(host.plugins().collectPluginFiles(dir),
            (std::vector<std::string>{dir + "/a.so", dir + "/b.so"}));
  EXPECT_TRUE(host.logSink.contains("Scanning for plugins in '" + dir + "'."));
  EXPECT_TRUE(host.logSink.contains("Found 2 available plugins."));
}
