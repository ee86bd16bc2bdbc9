// Bytes as a sequence of options, decoded by the shipped definitions (the
// options of a message, or of a policy's stored set). A buffer either
// decodes or raises nuv::CException. What decodes must encode, and the
// encoding must be a fixed point: decoding it and encoding again gives the
// same bytes. Its text and JSON forms are read back as an operator's
// edit would be; they must not crash, and what they read must encode.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "dhcp_base/COptionFactory.h"
#include "dhcp_base/COptionInputContext.h"
#include "dhcp_base/COptionOutputContext.h"
#include "dhcp_base/COptionStore.h"
#include "fuzz/FuzzCatalogue.h"
#include "standard/CException.h"

namespace {

// Room for any encoding of a decoded buffer: fixed-size values of empty
// options may take more than their input.
constexpr std::size_t kRoom = 1 << 20;

std::vector<std::uint8_t> encode(const COptionStore& store) {
  static std::vector<std::uint8_t> buffer(kRoom);
  COptionOutputContext oc;
  const std::uint8_t* end = store.valueOutput(buffer.data(), buffer.size(), oc);
  return std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + (end - buffer.data()));
}

COptionStorePtr decode(const std::uint8_t* data, std::size_t size) {
  COptionStorePtr store = fuzzCatalogue().factory().createOS("fuzz");
  COptionInputContext ic(data, store.get());
  store->valueInput(data, size, ic);
  return store;
}

[[noreturn]] void fail(const char* what, const std::vector<std::uint8_t>& bytes,
                       const nuv::CException* e = nullptr) {
  std::fprintf(stderr, "%s\n", what);
  for (std::uint8_t b : bytes) std::fprintf(stderr, "%02x", b);
  std::fprintf(stderr, "\n");
  if (e) std::fprintf(stderr, "%s\n", e->printableError().c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  COptionStorePtr first;
  try {
    first = decode(data, size);
  } catch (const nuv::CException&) {
    return 0;
  }
  const std::vector<std::uint8_t> wire = encode(*first);
  COptionStorePtr second;
  try {
    second = decode(wire.data(), wire.size());
  } catch (const nuv::CException& e) {
    fail("the encoding of a decoded buffer does not decode", wire, &e);
  }
  if (encode(*second) != wire) fail("decode and encode is not a fixed point", wire);

  // The forms an operator sees and edits.
  const std::string text = first->string();
  static_cast<void>(first->dump());
  const std::string json = first->json();
  for (int form = 0; form < 2; ++form) {
    COptionStorePtr read = fuzzCatalogue().factory().createOS("fuzz");
    try {
      COptionInputContext ic(nullptr, read.get());
      if (form == 0)
        read->string(text, ic);
      else
        read->json(json, ic);
    } catch (const nuv::CException&) {
      continue;
    }
    static_cast<void>(encode(*read));
  }
  return 0;
}
