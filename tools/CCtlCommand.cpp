#include "tools/CCtlCommand.h"

#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "host/CHostControlSocket.h"
#include "host/CHostController.h"
#include "oodb/CPrstTransaction.h"
#include "standard/CConfig.h"
#include "standard/CException.h"
#include "tools/CCtlDatabase.h"
#include "tools/CCtlReport.h"
#include "tools/CRecordAdmin.h"

namespace {

constexpr const char* kStatsQuery = "query_stats\n";

// A command line that does not say what to do.
struct Misuse {
  std::string text;
};

struct Request {
  std::string configPath = CCtlCommand::kDefaultConfig;
  std::string verb;
  const CRecordKind* kind = nullptr;
  std::string key;
  std::vector<std::string> keyValues;
  std::string file;  // -f; "-" is stdin
  bool all = false;  // publish-definitions --all
  std::string pool;  // leases --pool
  CLeaseReport::Filter filter = CLeaseReport::Filter::all;
  bool json = false;
};

const CRecordKind& kindOf(const std::string& word) {
  if (const CRecordKind* k = CRecordKind::find(word)) return *k;
  throw Misuse{"unknown record kind '" + word + "'"};
}

Request parse(const std::vector<std::string>& args) {
  Request r;
  std::vector<std::string> words;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if ((a == "-c" || a == "-f") && i + 1 < args.size()) {
      (a == "-c" ? r.configPath : r.file) = args[++i];
    } else if (a == "--pool" && i + 1 < args.size()) {
      r.pool = args[++i];
    } else if (a == "--all") {
      r.all = true;
    } else if (a == "--json") {
      r.json = true;
    } else if (a == "--active" || a == "--expired") {
      const auto f = a == "--active" ? CLeaseReport::Filter::active : CLeaseReport::Filter::expired;
      if (r.filter != CLeaseReport::Filter::all && r.filter != f)
        throw Misuse{"leases takes --active or --expired, not both"};
      r.filter = f;
    } else if (a == "-c" || a == "-f") {
      throw Misuse{"option " + a + " needs a file name"};
    } else if (a == "--pool") {
      throw Misuse{"option --pool needs a pool name"};
    } else {
      words.push_back(a);
    }
  }
  if (words.empty()) throw Misuse{"no command given"};
  r.verb = words[0];
  auto need = [&](std::size_t n, const char* shape) {
    if (words.size() < n) throw Misuse{"usage: dhcp6ctl " + r.verb + " " + shape};
  };
  if (r.verb == "list") {
    need(2, "KINDS");
    r.kind = &kindOf(words[1]);
    if (words.size() > 2) throw Misuse{"list takes one record kind"};
  } else if (r.verb == "show" || r.verb == "delete") {
    need(3, "KIND KEY");
    r.kind = &kindOf(words[1]);
    r.key = words[2];
    if (words.size() > 3) throw Misuse{r.verb + " takes one record"};
  } else if (r.verb == "add") {
    need(2, "KIND key=value ... | -f FILE");
    r.kind = &kindOf(words[1]);
    r.keyValues.assign(words.begin() + 2, words.end());
  } else if (r.verb == "change") {
    need(3, "KIND KEY key=value ... | -f FILE");
    r.kind = &kindOf(words[1]);
    r.key = words[2];
    r.keyValues.assign(words.begin() + 3, words.end());
  } else if (r.verb == "publish-definitions") {
    if (words.size() > 1) throw Misuse{"publish-definitions takes no arguments"};
  } else if (r.verb == "leases" || r.verb == "pools" || r.verb == "stats") {
    if (words.size() > 1) throw Misuse{r.verb + " takes no arguments"};
  } else if (r.verb == "mode") {
    need(2, "servicing|learning|paused");
    r.key = words[1];
    if (words.size() > 2 || !CHostControlSocket::operatorMode(r.key))
      throw Misuse{"mode takes one of servicing, learning, paused"};
  } else {
    throw Misuse{"unknown command '" + r.verb + "'"};
  }
  if (r.verb != "leases" && (!r.pool.empty() || r.filter != CLeaseReport::Filter::all))
    throw Misuse{"--pool, --active and --expired belong to leases"};
  if (r.json && r.verb != "leases" && r.verb != "pools" && r.verb != "stats" && r.verb != "list")
    throw Misuse{"--json belongs to the lists (list, leases, pools, stats)"};
  if ((r.verb == "add" || r.verb == "change") && r.keyValues.empty() == r.file.empty())
    throw Misuse{r.verb + " takes key=value arguments or -f FILE"};
  return r;
}

std::string readFile(const std::string& path) {
  std::ostringstream text;
  if (path == "-") {
    text << std::cin.rdbuf();
    return text.str();
  }
  std::ifstream in(path);
  if (!in)
    NUV_THROW("CCtlCommand::readFile", nuv::CMessage("Cannot read file '%1'.").pushs(path),
              nuv::CMessage("It does not exist or is not readable."));
  text << in.rdbuf();
  return text.str();
}

// Tells a running server; the change is stored whether one listens or not.
void announce(const std::vector<CObjectChange>& changes, const std::string& socketPath,
              std::ostream& err) {
  for (const CObjectChange& c : changes) {
    try {
      if (!CHostControlSocket::send(socketPath,
                                    CHostControlSocket::message(c.type, c.table, c.oid))) {
        err << "dhcp6ctl: note: no server is listening on '" << socketPath
            << "'; the change is stored and is read when the server starts.\n";
        return;
      }
    } catch (const nuv::CException& e) {
      err << "dhcp6ctl: note: the change is stored but the server was not told: "
          << e.printableError() << "\n";
      return;
    }
  }
}

void report(const std::vector<CObjectChange>& changes, std::ostream& out) {
  for (const CObjectChange& c : changes) out << c.type << " " << c.table << " " << c.oid << "\n";
}

// Switches a running server's mode; there is nothing to store.
int switchMode(const Request& r, std::ostream& err) {
  const nuv::CConfig config = nuv::CConfig::load(r.configPath);
  const std::string socketPath = CHostControlSocket::pathIn(CHostController::storagePath(config));
  if (CHostControlSocket::send(socketPath, CHostControlSocket::modeMessage(r.key)))
    return CCtlCommand::done;
  err << "dhcp6ctl: no server is listening on '" << socketPath << "'.\n";
  return CCtlCommand::failed;
}

// The running server's counters, asked on its control socket.
int showStats(const Request& r, std::ostream& out, std::ostream& err) {
  const nuv::CConfig config = nuv::CConfig::load(r.configPath);
  const std::string socketPath = CHostControlSocket::pathIn(CHostController::storagePath(config));
  std::string answer;
  if (!CHostControlSocket::query(socketPath, kStatsQuery, answer)) {
    err << "dhcp6ctl: no server answered on '" << socketPath << "'.\n";
    return CCtlCommand::failed;
  }
  CCtlReport::stats(answer, r.json, out);
  return CCtlCommand::done;
}

void listJson(const std::vector<std::string>& keys, std::ostream& out) {
  nlohmann::json list = nlohmann::json::array();
  for (const std::string& key : keys) list.push_back(key);
  out << list.dump(2) << "\n";
}

int execute(const Request& r, std::ostream& out, std::ostream& err) {
  if (r.verb == "mode") return switchMode(r, err);
  if (r.verb == "stats") return showStats(r, out, err);
  CCtlDatabase db(nuv::CConfig::load(r.configPath));
  CRecordAdmin admin(db.session(), &db.controller().log());
  std::vector<CObjectChange> changes;
  if (r.verb == "list" && r.kind->binding && r.json) {
    const bool prefix = std::string(r.kind->name) == "prefix-binding";
    std::vector<CLeaseRow> rows;
    for (CLeaseRow& row : CLeaseReport::read(db.session(), nuv::CTimeT::now()))
      if (row.prefix == prefix) rows.push_back(std::move(row));
    CCtlReport::leases(rows, true, out);
  } else if (r.verb == "list") {
    const std::vector<std::string> keys = admin.list(*r.kind);
    if (r.json)
      listJson(keys, out);
    else
      for (const std::string& key : keys) out << key << "\n";
  } else if (r.verb == "leases") {
    CCtlReport::leases(CLeaseReport::read(db.session(), nuv::CTimeT::now(), r.pool, r.filter),
                       r.json, out);
  } else if (r.verb == "pools") {
    CPrstTransaction tx(db.session());  // read only: rolled back
    CCtlReport::pools(CPoolUsage::read(db.session()), r.json, out);
  } else if (r.verb == "show") {
    out << admin.show(*r.kind, r.key);
  } else if (r.verb == "publish-definitions") {
    const auto counts = admin.publishDefinitions(db.context(), r.all);
    out << "Wrote " << counts.options << " option definition and " << counts.vendors
        << " vendor class records.\n";
  } else {
    const CRecordEdit edit = r.file.empty() ? CRecordEdit::fromArguments(r.keyValues)
                                            : CRecordEdit::fromText(readFile(r.file));
    if (r.verb == "add")
      changes = admin.add(*r.kind, edit);
    else if (r.verb == "change")
      changes = admin.change(*r.kind, r.key, edit);
    else
      changes = {admin.remove(*r.kind, r.key)};
  }
  report(changes, out);
  announce(changes, db.controlSocketPath(), err);
  return CCtlCommand::done;
}

}  // namespace

void CCtlCommand::usage(std::ostream& out) {
  out << "usage: dhcp6ctl [-c FILE] COMMAND ...\n"
         "\n"
         "  list KINDS                          names (pools, policies); for bindings the\n"
         "                                      address, client, state (active, released,\n"
         "                                      expired, fixed) and seconds left\n"
         "  show KIND KEY                       the record's text form\n"
         "  add KIND key=value ...              a new record; or: add KIND -f FILE\n"
         "  change KIND KEY key=value ...       or: change KIND KEY -f FILE\n"
         "  delete KIND KEY\n"
         "  publish-definitions [--all]         store the option and vendor definitions\n"
         "  mode servicing|learning|paused      switch the running server's mode\n"
         "  leases [--pool NAME] [--active|--expired]\n"
         "                                      address or prefix, client DUID, IA type,\n"
         "                                      IAID, state, seconds left and pool of each\n"
         "                                      lease; --active: those with time left\n"
         "                                      (active, fixed), --expired: the others\n"
         "  pools                               each pool's size, leased, offered, free\n"
         "  stats                               the running server's counters\n"
         "\n"
         "KIND is policy, pool, prefix-pool, binding or prefix-binding (KINDS their\n"
         "plurals); KEY is a policy's or pool's name, a binding's address.\n"
         "option=\"NAME = VALUE\" adds or replaces one option, -option=NAME removes\n"
         "one; the option lines of a file (-f FILE, '-' for stdin) replace the set.\n"
         "Each change is announced to a running server on its control socket.\n"
         "\n"
         "  --json      lists (list, leases, pools, stats) as JSON\n"
         "  -c FILE     the server's configuration file; default "
      << kDefaultConfig
      << "\n"
         "  -h, --help  this text\n";
}

int CCtlCommand::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  for (const std::string& a : args)
    if (a == "-h" || a == "--help") {
      usage(out);
      return done;
    }
  Request request;
  try {
    request = parse(args);
  } catch (const Misuse& m) {
    err << "dhcp6ctl: " << m.text << "\n";
    usage(err);
    return misuse;
  }
  try {
    return execute(request, out, err);
  } catch (const nuv::CException& e) {
    err << "dhcp6ctl: " << e.printableError() << "\n";
    return failed;
  }
}
