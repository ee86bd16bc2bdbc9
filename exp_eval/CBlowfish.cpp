#include "exp_eval/CBlowfish.h"

#include <nettle/blowfish.h>

#include <string>

#include "standard/CException.h"

namespace nuv {

CBlowfish::CBlowfish(std::string_view key) : m_ctx(std::make_unique<blowfish_ctx>()) {
  if (key.empty() || key.size() > kMaxKeySize)
    NUV_THROW(
        "CBlowfish::CBlowfish", CMessage("Cannot set the Blowfish key."),
        CMessage("A key must be 1 to %1 bytes long, not %2.").push(kMaxKeySize).push(key.size()));
  std::string material(key);
  while (material.size() < BLOWFISH_MIN_KEY_SIZE) material += key;
  // A weak key (duplicate S-box entries) still encrypts; nettle only says so.
  blowfish_set_key(m_ctx.get(), material.size(),
                   reinterpret_cast<const std::uint8_t*>(material.data()));
}

CBlowfish::~CBlowfish() = default;

void CBlowfish::encrypt(const std::uint8_t* in, std::size_t n, std::uint8_t* out) const {
  blowfish_encrypt(m_ctx.get(), n, out, in);
}

void CBlowfish::decrypt(const std::uint8_t* in, std::size_t n, std::uint8_t* out) const {
  blowfish_decrypt(m_ctx.get(), n, out, in);
}

}  // namespace nuv
