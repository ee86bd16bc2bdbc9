#include "exp_eval/CCryptoFunctions.h"

#include <nettle/base64.h>
#include <nettle/md5.h>
#include <nettle/sha1.h>

#include <string>
#include <vector>

#include "exp_eval/CBlowfish.h"

namespace nuv {

namespace {

void base64Encode(const CFunctionCall& call, CMultiVariant& results) {
  const CHexStore in = call.bytes(0);
  std::string out(BASE64_ENCODE_RAW_LENGTH(in.size()), '\0');
  base64_encode_raw(out.data(), in.size(), in.data());
  results.emplace_back(std::move(out));
}

// Blanks and line breaks inside the text are ignored; the "=" padding is required.
void base64Decode(const CFunctionCall& call, CMultiVariant& results) {
  const std::string text = call[0].string();
  std::vector<std::uint8_t> out(BASE64_DECODE_LENGTH(text.size()) + 1);
  base64_decode_ctx ctx;
  base64_decode_init(&ctx);
  std::size_t length = out.size();
  if (!base64_decode_update(&ctx, &length, out.data(), text.size(), text.data()) ||
      !base64_decode_final(&ctx))
    call.fail(CMessage("Value '%1' is not Base64 text.").pushs(text));
  results.emplace_back(CHexStore(out.data(), length));
}

template <class Ctx, std::size_t Size>
void digest(const CFunctionCall& call, CMultiVariant& results, void (*init)(Ctx*),
            void (*update)(Ctx*, std::size_t, const std::uint8_t*),
            void (*final)(Ctx*, std::size_t, std::uint8_t*)) {
  const CHexStore in = call.bytes(0);
  Ctx ctx;
  init(&ctx);
  update(&ctx, in.size(), in.data());
  std::uint8_t out[Size];
  final(&ctx, Size, out);
  results.emplace_back(CHexStore(out, Size));
}

void md5(const CFunctionCall& call, CMultiVariant& results) {
  digest<md5_ctx, MD5_DIGEST_SIZE>(call, results, md5_init, md5_update, md5_digest);
}

void sha1(const CFunctionCall& call, CMultiVariant& results) {
  digest<sha1_ctx, SHA1_DIGEST_SIZE>(call, results, sha1_init, sha1_update, sha1_digest);
}

// Zero bytes pad the data to whole blocks; ECB, so equal input gives equal
// output (the functions make stable tokens, not secrets in transit).
CHexStore encrypted(const CFunctionCall& call) {
  CHexStore data = call.bytes(0);
  const std::size_t rest = data.size() % CBlowfish::kBlockSize;
  if (rest) data.pad(0, CBlowfish::kBlockSize - rest);
  call.eval().cipher()->encrypt(data.data(), data.size(), data.data());
  return data;
}

void encrypt(const CFunctionCall& call, CMultiVariant& results) {
  results.emplace_back(encrypted(call));
}

void sencrypt(const CFunctionCall& call, CMultiVariant& results) {
  call[0] = CVariant(call[0].string());
  results.emplace_back(encrypted(call));
}

void decrypt(const CFunctionCall& call, CMultiVariant& results) {
  CHexStore data = call.bytes(0);
  if (data.size() != CBlowfish::kBlockSize)
    call.fail(CMessage("Argument '%1' must be exactly eight (8) bytes long.").pushs(data.string()));
  call.eval().cipher()->decrypt(data.data(), data.size(), data.data());
  results.emplace_back(std::move(data));
}

// The padding zeros end the text.
void sdecrypt(const CFunctionCall& call, CMultiVariant& results) {
  CHexStore data = call.bytes(0);
  if (data.size() % CBlowfish::kBlockSize)
    call.fail(
        CMessage("Argument '%1' must be a multiple of eight (8) bytes long.").pushs(data.string()));
  if (!data.empty()) call.eval().cipher()->decrypt(data.data(), data.size(), data.data());
  std::size_t n = data.size();
  while (n > 0 && data.data()[n - 1] == 0) --n;
  results.emplace_back(std::string(reinterpret_cast<const char*>(data.data()), n));
}

}  // namespace

void CCryptoFunctions::install(CFunctionTable& table) {
  CFunctionCall::add(table, "BASE64.ENCODE", 1, 1, base64Encode);
  CFunctionCall::add(table, "BASE64.DECODE", 1, 1, base64Decode);
  CFunctionCall::add(table, "MD5", 1, 1, md5);
  CFunctionCall::add(table, "SHA1", 1, 1, sha1);
  CFunctionCall::add(table, "ENCRYPT", 1, 1, encrypt);
  CFunctionCall::add(table, "DECRYPT", 1, 1, decrypt);
  CFunctionCall::add(table, "SENCRYPT", 1, 1, sencrypt);
  CFunctionCall::add(table, "SDECRYPT", 1, 1, sdecrypt);
}

}  // namespace nuv
