#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <sstream>

#include "host/CHostControlSocket.h"
#include "tests/fixtures/CRecordingController.h"
#include "tests/fixtures/TempPath.h"
#include "tools/CCtlCommand.h"
#include "tools/CCtlDatabase.h"
#include "tools/CRecordAdmin.h"

namespace {

struct Result {
  int code;
  std::string out, err;
};

// The tool on a fresh SQLite database in a directory of its own, with the
// configuration an operator would give it.
class CCtlCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = tempPath("dhcp6ctl");
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    config = dir + "/dhcp6d.conf";
    std::ofstream(config) << "system.plugins = " << NUV_PLUGIN_DIR
                          << "/sqlite_db.so\nsystem.storage.path = " << dir << "\n";
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  Result run(std::vector<std::string> args) {
    args.insert(args.begin(), {"-c", config});
    std::ostringstream out, err;
    const int code = CCtlCommand::run(args, out, err);
    return {code, out.str(), err.str()};
  }
  // The text form without the line that changes with every commit.
  std::string show(const std::string& kind, const std::string& key) {
    const Result r = run({"show", kind, key});
    EXPECT_EQ(r.code, 0) << r.err;
    std::string text;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);)
      if (line.rfind("mod_time", 0) != 0 && line.rfind("lease_", 0) != 0) text += line + "\n";
    return text;
  }
  std::string writeFile(const std::string& name, const std::string& text) {
    const std::string path = dir + "/" + name;
    std::ofstream(path) << text;
    return path;
  }

  void addLeases();

  static constexpr const char* kNoServer = "note: no server is listening";
  std::string dir, config;
};

const std::vector<std::string> kLan = {"add",
                                       "pool",
                                       "name=lan",
                                       "valid_lt=3600",
                                       "rangestart=2001:db8:1::10",
                                       "rangestop=2001:db8:1::ff",
                                       "prefix_len=64",
                                       "relay=::"};

}  // namespace

TEST_F(CCtlCommandTest, GlobalPolicyIsCreatedOnFirstChangeAndKeepsItsOptions) {
  Result r =
      run({"change", "policy", "Global Optional", "option=dns-servers = 2001:db8::53, 2001:db8::54",
           "option=domain-search = example.com"});
  ASSERT_EQ(r.code, 0) << r.err;
  // Both global policies are new; the named one is then changed.
  EXPECT_EQ(r.out, "add dhcp_policies6 1\nadd dhcp_policies6 2\nmodify dhcp_policies6 2\n");
  EXPECT_NE(r.err.find(kNoServer), std::string::npos) << r.err;
  EXPECT_EQ(show("policy", "Global Optional"),
            "oid = 2\nname = Global Optional\nenforce = false\n"
            "description = Options in this policy are provided when requested by any device\n"
            "domains = 2\n"
            "option = dns-servers = \"2001:db8::53\", \"2001:db8::54\"\n"
            "option = domain-search = example.com\n");
  EXPECT_EQ(run({"list", "policies"}).out, "Global Enforced\nGlobal Optional\n");

  // One option replaced, one removed; the others stay.
  r = run({"change", "policy", "Global Optional", "option=dns-servers = 2001:db8::99",
           "-option=domain-search"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "modify dhcp_policies6 2\n");
  const std::string text = show("policy", "Global Optional");
  EXPECT_NE(text.find("option = dns-servers = \"2001:db8::99\"\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("domain-search"), std::string::npos) << text;
}

TEST_F(CCtlCommandTest, RecordsRoundTripThroughAddShowChangeAndDelete) {
  ASSERT_EQ(run(kLan).code, 0);
  ASSERT_EQ(run({"add", "binding", "ipaddr=2001:db8:1::20", "relay=::", "lease_duration=infinite",
                 "client_id=00-01-02", "iaid=1", "iatype=iana", "source_pool=lan"})
                .code,
            0);
  // Bindings are named by address in any spelling; an operator's binding
  // is a fixed DHCPv6 lease that every device's token sees.
  const std::string binding = show("binding", "2001:0db8:1:0::20");
  for (const char* line : {"protocol = dhcpv6\n", "fixed = true\n", "source_pool = lan\n",
                           "domains = 2\n", "client_id = 00-01-02\n"})
    EXPECT_NE(binding.find(line), std::string::npos) << line << binding;
  // Address first, then client, state and seconds left.
  EXPECT_EQ(run({"list", "bindings"}).out, "2001:db8:1::20 00-01-02 fixed infinite\n");

  // A shown pool fed back through a file changes nothing but what was edited.
  std::string pool = run({"show", "pool", "lan"}).out;
  pool.replace(pool.find("description = "), 14, "description = edited");
  ASSERT_EQ(run({"change", "pool", "lan", "-f", writeFile("lan.txt", pool)}).code, 0);
  const std::string after = show("pool", "lan");
  EXPECT_NE(after.find("description = edited\n"), std::string::npos) << after;
  EXPECT_NE(after.find("rangestop = 2001:db8:1::ff\n"), std::string::npos) << after;

  // The pool stays while a lease refers to it.
  Result r = run({"delete", "pool", "lan"});
  EXPECT_EQ(r.code, CCtlCommand::failed);
  EXPECT_EQ(r.err,
            "dhcp6ctl: Cannot delete pool 'lan'. (Bindings still refer to it; delete them "
            "first.)\n");
  EXPECT_EQ(run({"list", "pools"}).out, "lan\n");

  r = run({"delete", "binding", "2001:db8:1::20"});
  EXPECT_EQ(r.out, "del dhcp_abindings6 1\n");
  EXPECT_EQ(run({"list", "bindings"}).out, "");
  EXPECT_EQ(run({"delete", "pool", "lan"}).out, "del dhcp_apools6 1\n");
  r = run({"show", "pool", "gone"});
  EXPECT_EQ(r.code, CCtlCommand::failed);
  EXPECT_EQ(r.err, "dhcp6ctl: Cannot find pool 'gone'. (No such record is stored.)\n");
}

TEST_F(CCtlCommandTest, BindingListsShowEachLeasesStateAndTimeLeft) {
  ASSERT_EQ(run(kLan).code, 0);
  // Committed at 1000000 (lease_commit), listed 600 seconds later.
  struct Case {
    std::vector<std::string> keys;
    std::string line;
  } cases[] = {
      {{"binding", "ipaddr=2001:db8:1::20", "lease_duration=3600", "fixed=false"},
       "2001:db8:1::20 00-01-02 active 3000"},
      {{"binding", "ipaddr=2001:db8:1::21", "lease_duration=0", "fixed=false"},
       "2001:db8:1::21 00-01-02 released 0"},
      // Expiring at the very second it is listed: nothing is left.
      {{"binding", "ipaddr=2001:db8:1::22", "lease_duration=600", "fixed=false"},
       "2001:db8:1::22 00-01-02 expired 0"},
      {{"binding", "ipaddr=2001:db8:1::23", "lease_duration=300", "fixed=false"},
       "2001:db8:1::23 00-01-02 expired 0"},
      // An operator's reservation, whatever its expiry.
      {{"binding", "ipaddr=2001:db8:1::24", "lease_duration=60"},
       "2001:db8:1::24 00-01-02 fixed 0"},
      {{"binding", "ipaddr=2001:db8:1::25", "lease_duration=infinite", "fixed=false"},
       "2001:db8:1::25 00-01-02 active infinite"},
      {{"prefix-binding", "ipaddr=2001:db8:100::", "prefix_len=56", "iatype=iapd",
        "lease_duration=7200", "fixed=false"},
       "2001:db8:100:: 00-01-02 active 6600"},
  };
  std::string addresses, prefixes;
  std::uint32_t iaid = 0;
  for (const Case& c : cases) {
    std::vector<std::string> args = {"add"};
    args.insert(args.end(), c.keys.begin(), c.keys.end());
    for (const char* k : {"relay=::", "client_id=00-01-02", "lease_commit=1000000"})
      args.push_back(k);
    args.push_back("iaid=" + std::to_string(++iaid));
    if (c.keys.front() == "binding") args.push_back("iatype=iana");
    const Result r = run(args);
    ASSERT_EQ(r.code, 0) << r.err;
    (c.keys.front() == "binding" ? addresses : prefixes) += c.line + "\n";
  }
  const auto listed = [&](const char* kind) {
    CCtlDatabase db(nuv::CConfig::load(config));
    std::string out;
    for (const std::string& line :
         CRecordAdmin(db.session()).list(*CRecordKind::find(kind), nuv::CTimeT(1000600)))
      out += line + "\n";
    return out;
  };
  EXPECT_EQ(listed("bindings"), addresses);
  EXPECT_EQ(listed("prefix-bindings"), prefixes);

  // The command reads this host's clock: every lease of 1970 is over by now.
  const std::string now = run({"list", "bindings"}).out;
  for (const char* line :
       {"2001:db8:1::20 00-01-02 expired 0\n", "2001:db8:1::21 00-01-02 released 0\n",
        "2001:db8:1::24 00-01-02 fixed 0\n", "2001:db8:1::25 00-01-02 active infinite\n"})
    EXPECT_NE(now.find(line), std::string::npos) << line << now;
  // Pools and policies stay one name a line.
  EXPECT_EQ(run({"list", "pools"}).out, "lan\n");
}

TEST_F(CCtlCommandTest, RefusedChangesShowTheSystemsMessageAndStoreNothing) {
  ASSERT_EQ(run(kLan).code, 0);
  ASSERT_EQ(run({"add", "policy", "name=site", "domains=5"}).code, 0);
  ASSERT_EQ(run({"add", "policy", "name=lab"}).code, 0);
  const std::string lanBefore = show("pool", "lan");
  const std::string labBefore = show("policy", "lab");
  // The record refusals themselves: CPrstPoolTest, CPrstBindingTest.
  struct Case {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"add", "policy", "description=no name"},
       "Cannot add a policy. (The 'name' key is missing.)"},
      {{"add", "policy", "name=x", "descripton=typo"},
       "Cannot use key 'descripton' for a policy. (The known keys are name, enforce, "
       "description, domains, domains+, domains-, options, option, -option, oid, mod_time.)"},
      {kLan, "Cannot store pool 'lan'. (Another pool with this name is stored.)"},
      // The valid change before the bad option is not kept either.
      {{"change", "pool", "lan", "description=half", "option=no-such-option = 1"}, "*"},
      {{"change", "policy", "lab", "name=site"},
       "Cannot store policy 'site'. (Another policy with this name is stored.)"},
      // What would wrap on the wire (each value type's limits: CCodecTest).
      {{"change", "policy", "lab", "option=preference = 256"},
       "Cannot set policy record from text. (Cannot set numeric value '256' for option 7. Value is "
       "out of range.)"},
      {{"change", "pool", "lan", "valid_lt=-1"},
       "Cannot set pool record from text. (Invalid or missing 'valid_lt' key.)"},
      {{"change", "pool", "lan", "pref_lt=-60"},
       "Cannot set pool record from text. (Invalid value '-60' for key 'pref_lt'.)"},
      {{"add", "binding", "ipaddr=2001:db8:1::30", "relay=::", "lease_duration=-60",
        "client_id=00-01", "iatype=iana", "iaid=1"},
       "Failed to set a binding record from text. (Invalid value '-60' for key "
       "'lease_duration'.)"},
      {{"change", "policy", "lab", "domains=-3"},
       "Cannot set policy record from text. (Invalid value '-3' for key 'domains'.)"},
      {{"change", "pool", "lan", "allow=[$X("},
       "Cannot set pool record from text. (Cannot parse expression '[$X(' for key 'allow': no "
       "closing ']'.)"},
      {{"change", "policy", "lab", "name= "},
       "Cannot set policy record from text. (The 'name' key is empty.)"},
      // No option longer than the wire's 16-bit length field.
      {{"change", "policy", "lab", "option=subscriber-id = " + std::string(70000 * 2, 'a')},
       "Cannot set policy record from text. (Option 'subscriber-id' is 70000 bytes long; at most "
       "65535 fit.)"},
      {{"change", "pool", "lan", "name="},
       "Cannot set pool record from text. (The 'name' key is empty.)"},
  };
  for (const Case& c : cases) {
    const Result r = run(c.args);
    EXPECT_EQ(r.code, CCtlCommand::failed) << c.args[2];
    if (c.err != "*") {
      EXPECT_EQ(r.err, "dhcp6ctl: " + c.err + "\n");
    }
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(run({"list", "pools"}).out, "lan\n");
  EXPECT_EQ(run({"list", "bindings"}).out, "");
  EXPECT_EQ(run({"list", "policies"}).out, "site\nlab\n");
  EXPECT_EQ(show("pool", "lan"), lanBefore);
  EXPECT_EQ(show("policy", "lab"), labBefore);
}

TEST_F(CCtlCommandTest, FileOptionLinesReplaceTheWholeSet) {
  ASSERT_EQ(run({"add", "policy", "-f",
                 writeFile("p.txt",
                           "name = lab\ndomains = 7\n"
                           "option = dns-servers = 2001:db8::53\n"
                           "option = domain-search = lab.example.com\n"
                           "option = sntp-servers = 2001:db8::123\n"
                           "-option = sntp-servers\n")})
                .code,
            0);
  const std::string added = show("policy", "lab");
  EXPECT_NE(added.find("option = domain-search = lab.example.com\n"), std::string::npos);
  EXPECT_EQ(added.find("sntp-servers"), std::string::npos) << added;
  ASSERT_EQ(
      run({"change", "policy", "lab", "-f", writeFile("q.txt", "option = dns-servers = ::1\n")})
          .code,
      0);
  const std::string text = show("policy", "lab");
  EXPECT_EQ(text.substr(text.find("option")), "option = dns-servers = \"::1\"\n");
}

TEST_F(CCtlCommandTest, DefinitionsAreStoredOnceAndThenLeftAlone) {
  Result first = run({"publish-definitions", "--all"});
  ASSERT_EQ(first.code, 0) << first.err;
  EXPECT_EQ(first.out.rfind("Wrote ", 0), 0u) << first.out;
  EXPECT_EQ(first.out.find("Wrote 0 "), std::string::npos) << first.out;
  EXPECT_EQ(run({"publish-definitions", "--all"}).out,
            "Wrote 0 option definition and 0 vendor class records.\n");
}

TEST_F(CCtlCommandTest, ASiteOptionOncePublishedNeedsNoFileAnyMore) {
  // The operator's own definition file, with a site-specific option.
  std::ofstream(dir + "/options6.spec")
      << "spec_name = site\n\ninclude = " << NUV_SOURCE_DIR << "/data/options6.spec\n\n"
      << "tagpath = 65281\ntype = string\nname = site-motd\n";
  ASSERT_EQ(run({"publish-definitions"}).code, 0);
  std::filesystem::remove(dir + "/options6.spec");
  const Result r = run({"add", "policy", "name=lab", "option=site-motd = hello"});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string text = show("policy", "lab");
  EXPECT_NE(text.find("option = site-motd = \"hello\"\n"), std::string::npos) << text;
}

TEST_F(CCtlCommandTest, ListeningHostIsToldOfEveryCommittedChange) {
  std::mutex mutex;
  std::vector<std::string> seen;
  CRecordingLog log;
  CHostControlSocket socket(
      CHostControlSocket::pathIn(dir), 0,
      [&](std::shared_ptr<CAppEvent> e) {
        std::lock_guard<std::mutex> lock(mutex);
        seen.push_back(e->evtType + " " + e->evtClass + " " + e->evtInstance);
      },
      log);
  Result r = run({"add", "policy", "name=lab"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  ASSERT_EQ(run({"delete", "policy", "lab"}).code, 0);
  EXPECT_NE(run({"delete", "policy", "lab"}).code, 0);  // nothing committed, nothing told
  for (int i = 0; i < 500; ++i) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      if (seen.size() >= 2) break;
    }
    usleep(10000);
  }
  std::lock_guard<std::mutex> lock(mutex);
  EXPECT_EQ(seen, (std::vector<std::string>{"add dhcp_policies6 1", "del dhcp_policies6 1"}));
}

TEST_F(CCtlCommandTest, MisuseIsAnsweredWithTheUsage) {
  const std::vector<std::vector<std::string>> misuses = {{},
                                                         {"list", "leases"},
                                                         {"show", "pool"},
                                                         {"leases", "--pool"},
                                                         {"mode", "x", "--json"},
                                                         {"add", "policy", "name=a", "-f", "x"},
                                                         {"frob"}};
  for (const auto& args : misuses) {
    std::ostringstream out, err;
    EXPECT_EQ(CCtlCommand::run(args, out, err), CCtlCommand::misuse)
        << (args.empty() ? "" : args[0]);
    EXPECT_NE(err.str().find("usage: dhcp6ctl"), std::string::npos);
  }
  EXPECT_EQ(run({"add", "policy", "name"}).err,
            "dhcp6ctl: Cannot read argument 'name'. (Arguments are written key=value.)\n");
}

TEST_F(CCtlCommandTest, ProgramKeepsOutputAndMessagesApartAndExitsWithItsCode) {
  const std::string cmd = std::string(NUV_DHCP6CTL) + " -c " + config;
  const std::string out = dir + "/out", err = dir + "/err";
  auto slurp = [](const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  int status = std::system(
      (cmd + " change policy 'Global Enforced' enforce=true >" + out + " 2>" + err).c_str());
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(slurp(out), "add dhcp_policies6 1\nadd dhcp_policies6 2\nmodify dhcp_policies6 1\n");
  EXPECT_NE(slurp(err).find(kNoServer), std::string::npos);
  status = std::system((cmd + " show policy nothing >" + out + " 2>" + err).c_str());
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(slurp(out), "");
  EXPECT_EQ(slurp(err), "dhcp6ctl: Cannot find policy 'nothing'. (No such record is stored.)\n");
}

// A pool of 240 addresses less 16 excluded, a prefix pool of 65280 /56s,
// and leases of every state in them: active, expired, released, fixed.
void CCtlCommandTest::addLeases() {
  const std::vector<std::vector<std::string>> adds = {
      {"add", "pool", "name=lan", "valid_lt=3600", "rangestart=2001:db8:1::10",
       "rangestop=2001:db8:1::ff", "prefix_len=64",
       "relay=::", "xrange=2001:db8:1::10-2001:db8:1::1f"},
      {"add", "prefix-pool", "name=pd", "valid_lt=7200", "prefix=2001:db8:100::", "prefix_len=40",
       "sub_prefix_len=56",
       "rangestart=2001:db8:101::", "rangestop=2001:db8:1ff:ff00::", "relay=::"},
      {"add", "binding", "ipaddr=2001:db8:1::20", "lease_duration=infinite", "fixed=false",
       "client_id=00-01-02", "iaid=7", "iatype=iana", "source_pool=lan", "relay=::"},
      {"add", "binding", "ipaddr=2001:db8:1::21", "lease_duration=60", "fixed=false",
       "lease_commit=1000000", "client_id=00-01-03", "iaid=8", "iatype=iana", "source_pool=lan",
       "relay=::"},
      {"add", "binding", "ipaddr=2001:db8:1::22", "lease_duration=0", "fixed=false",
       "client_id=00-01-04", "iaid=9", "iatype=iana", "relay=::"},
      {"add", "prefix-binding", "ipaddr=2001:db8:101:100::", "prefix_len=56",
       "lease_duration=infinite", "client_id=00-01-02", "iaid=3", "iatype=iapd", "source_pool=pd",
       "relay=::"},
  };
  for (const auto& args : adds) {
    const Result r = run(args);
    ASSERT_EQ(r.code, 0) << r.err;
  }
}

TEST_F(CCtlCommandTest, LeasesAreListedFilteredAndAgreeWithTheStoredBindings) {
  addLeases();
  Result r = run({"leases"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "ADDRESS                DUID      IA    IAID  STATE     REMAINING  POOL\n"
            "2001:db8:1::20         00-01-02  iana     7  active     infinite  lan\n"
            "2001:db8:1::21         00-01-03  iana     8  expired           0  lan\n"
            "2001:db8:1::22         00-01-04  iana     9  released          0  -\n"
            "2001:db8:101:100::/56  00-01-02  iapd     3  fixed      infinite  pd\n");

  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> addresses;
  } cases[] = {
      {{"--active"}, {"2001:db8:1::20", "2001:db8:101:100::/56"}},
      {{"--expired"}, {"2001:db8:1::21", "2001:db8:1::22"}},
      {{"--pool", "lan"}, {"2001:db8:1::20", "2001:db8:1::21"}},
      {{"--pool", "lan", "--expired"}, {"2001:db8:1::21"}},
      {{"--pool", "pd", "--active"}, {"2001:db8:101:100::/56"}},
      {{"--pool", "nowhere"}, {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"leases", "--json"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    r = run(args);
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<std::string> got;
    for (const auto& lease : nlohmann::json::parse(r.out)) got.push_back(lease["address"]);
    EXPECT_EQ(got, c.addresses) << c.args[0];
  }
  EXPECT_EQ(run({"leases", "--active", "--expired"}).code, CCtlCommand::misuse);
  EXPECT_EQ(run({"pools", "--pool", "lan"}).code, CCtlCommand::misuse);

  // Each lease in JSON agrees with its stored binding.
  r = run({"leases", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  const auto leases = nlohmann::json::parse(r.out);
  ASSERT_EQ(leases.size(), 4u);
  for (const auto& lease : leases) {
    const std::string address = lease["address"];
    const bool prefix = lease["prefix"];
    const std::string text =
        run({"show", prefix ? "prefix-binding" : "binding", address.substr(0, address.find('/'))})
            .out;
    const auto has = [&](const std::string& line) {
      return text.find(line + "\n") != std::string::npos;
    };
    EXPECT_TRUE(has("client_id = " + lease["duid"].get<std::string>())) << text;
    EXPECT_TRUE(has("iaid = " + std::to_string(lease["iaid"].get<std::uint32_t>()))) << text;
    const std::string pool = lease["pool"];
    if (!pool.empty()) {
      EXPECT_TRUE(has("source_pool = " + pool)) << text;
    }
    EXPECT_EQ(lease["infinite"], has("lease_duration = infinite")) << text;
  }
  // The list of bindings says the same, one lease a line.
  const auto bindings = nlohmann::json::parse(run({"list", "bindings", "--json"}).out);
  EXPECT_EQ(bindings.size(), 3u);
  EXPECT_EQ(nlohmann::json::parse(run({"list", "pools", "--json"}).out),
            nlohmann::json::parse(R"(["lan"])"));
}

TEST_F(CCtlCommandTest, PoolsShowSizeLeasesAndWhatIsFree) {
  addLeases();
  Result r = run({"pools"});
  ASSERT_EQ(r.code, 0) << r.err;
  // Bindings hold their address until they are reclaimed, expired or not;
  // the released lease names no pool.
  EXPECT_EQ(r.out,
            "POOL  KIND     TOTAL  LEASED  OFFERED   FREE  USED\n"
            "lan   address    224       2        0    222  0.9%\n"
            "pd    prefix   65280       1        0  65279  0.0%\n");
  r = run({"pools", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  const auto pools = nlohmann::json::parse(r.out);
  ASSERT_EQ(pools.size(), 2u);
  EXPECT_EQ(pools[0]["name"], "lan");
  EXPECT_EQ(pools[0]["total"], 224);
  EXPECT_EQ(pools[0]["free"], 222);
  EXPECT_EQ(pools[1]["kind"], "prefix");
  EXPECT_EQ(pools[1]["leased"], 1);
}

TEST_F(CCtlCommandTest, StatsAreTheRunningServersCounters) {
  Result r = run({"stats"});
  EXPECT_EQ(r.code, CCtlCommand::failed);
  EXPECT_NE(r.err.find("no server answered"), std::string::npos) << r.err;

  CRecordingLog log;
  CHostControlSocket socket(
      CHostControlSocket::pathIn(dir), 0, [](std::shared_ptr<CAppEvent>) {}, log,
      [](std::string_view query, std::string& answer) {
        if (query != "query_stats") return false;
        answer = "packets.v6_solicit=12\npackets.input=30\n";
        return true;
      });
  r = run({"stats"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "METRIC              VALUE\n"
            "packets.v6_solicit     12\n"
            "packets.input          30\n");
  r = run({"stats", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.out),
            nlohmann::json::parse(R"({"packets.v6_solicit": 12, "packets.input": 30})"));
}
