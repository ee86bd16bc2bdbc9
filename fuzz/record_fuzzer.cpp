// A record's text form as dhcp6ctl reads it from a file: the first byte
// picks the kind (policy, pool, prefix pool, binding, prefix binding),
// the rest is "key = value" lines applied to a new record of that kind
// the way dhcp6ctl's add does (on a SQLite database in a temporary
// directory; nothing is committed). The text is refused with nuv::CException or
// taken; what is taken must print a text form that another record takes
// to the same text, and an option set that encodes to bytes the server
// decodes again.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dhcp_base/COptionFactory.h"
#include "dhcp_base/COptionInputContext.h"
#include "dhcp_base/COptionOutputContext.h"
#include "dhcp_base/COptionStore.h"
#include "dhcp_database/CPrstDHCPRecord.h"
#include "oodb/CPrstTransaction.h"
#include "standard/CConfig.h"
#include "standard/CException.h"
#include "tools/CCtlDatabase.h"
#include "tools/CRecordAdmin.h"
#include "tools/CRecordEdit.h"
#include "tools/CRecordKind.h"

namespace {

// The database of the process, removed at exit.
CCtlDatabase& database() {
  static std::string dir;
  static CCtlDatabase* db = [] {
    char tmpl[] = "/tmp/nuv_fuzz_record_XXXXXX";
    dir = mkdtemp(tmpl);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(dir, ec);
    });
    nuv::CConfig config;
    config.set("system.plugins", std::string(NUV_PLUGIN_DIR) + "/sqlite_db.so");
    config.set("system.storage.path", dir);
    return new CCtlDatabase(config);
  }();
  return *db;
}

std::shared_ptr<CPrstDHCPRecord> create(const CRecordKind& kind) {
  return std::dynamic_pointer_cast<CPrstDHCPRecord>(
      database().session().createTransient(kind.prototype));
}

[[noreturn]] void fail(const char* what, const std::string& text,
                       const nuv::CException* e = nullptr) {
  std::fprintf(stderr, "%s:\n", what);
  for (unsigned char c : text)
    if (c == '\n' || (c >= 0x20 && c < 0x7f))
      std::fputc(c, stderr);
    else
      std::fprintf(stderr, "\\x%02x", c);
  std::fputc('\n', stderr);
  if (e) std::fprintf(stderr, "%s\n", e->printableError().c_str());
  std::abort();
}

// The record's options as the server sends them, read back as a client
// (or relay) reads them.
void checkOptions(const CPrstDHCPRecord& record, const std::string& text) {
  static std::vector<std::uint8_t> buffer(1 << 20);
  COptionOutputContext oc(nullptr, false);  // as in a reply: no server settings
  const std::uint8_t* end = nullptr;
  try {
    end = record.optionStore().valueOutput(buffer.data(), buffer.size(), oc);
  } catch (const nuv::CException& e) {
    fail("a stored option set does not encode", text, &e);
  }
  COptionStorePtr back = database().context().factory().createOS("fuzz");
  COptionInputContext ic(buffer.data(), back.get());
  try {
    back->valueInput(buffer.data(), static_cast<std::size_t>(end - buffer.data()), ic);
  } catch (const nuv::CException& e) {
    fail("a stored option set encodes to bytes that do not decode", text, &e);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::vector<CRecordKind>& kinds = CRecordKind::all();
  const CRecordKind& kind = kinds[data[0] % kinds.size()];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  CPrstTransaction tx(database().session());  // rolled back
  std::string shown;
  {
    std::shared_ptr<CPrstDHCPRecord> record = create(kind);
    try {
      CRecordAdmin::apply(*record, kind, CRecordEdit::fromText(text));
    } catch (const nuv::CException&) {
      return 0;
    }
    if (CRecordAdmin::key(kind, *record).empty()) return 0;  // add refuses it
    shown = record->string();
    checkOptions(*record, shown);
  }
  std::shared_ptr<CPrstDHCPRecord> again = create(kind);
  try {
    again->string(shown);
  } catch (const nuv::CException& e) {
    fail("a record's text form is refused when read back", shown, &e);
  }
  const std::string reread = again->string();
  if (reread != shown)
    fail("a record's text form changes when read back", shown + "\n--- to ---\n" + reread);
  return 0;
}
