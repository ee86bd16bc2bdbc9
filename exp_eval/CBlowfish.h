#pragma once
// A Blowfish cipher (nettle) with its key schedule done once, used in ECB
// mode over whole 8-byte blocks. Read-only after construction, so one
// instance may serve several threads.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

struct blowfish_ctx;

namespace nuv {

class CBlowfish {
 public:
  static constexpr std::size_t kBlockSize = 8;
  static constexpr std::size_t kMaxKeySize = 56;

  // A key of 1 to 56 bytes; throws otherwise. A key shorter than nettle's
  // minimum of 8 bytes is repeated, which gives the same key schedule,
  // since Blowfish cycles the key bytes anyway.
  explicit CBlowfish(std::string_view key);
  ~CBlowfish();
  CBlowfish(const CBlowfish&) = delete;
  CBlowfish& operator=(const CBlowfish&) = delete;

  // n must be a multiple of kBlockSize; in and out may be the same buffer.
  void encrypt(const std::uint8_t* in, std::size_t n, std::uint8_t* out) const;
  void decrypt(const std::uint8_t* in, std::size_t n, std::uint8_t* out) const;

 private:
  std::unique_ptr<blowfish_ctx> m_ctx;
};

}  // namespace nuv
