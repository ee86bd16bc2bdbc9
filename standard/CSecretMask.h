#pragma once
// Keeps secrets out of log lines: the value of any setting whose name ends
// in "secret" or "password" (a TSIG secret, the database password, also
// written "name=value" or "name: value", quoted or not) becomes "****".
// The log applies it to every line, so that no caller has to remember.

#include <string>
#include <string_view>

namespace nuv {

class CSecretMask {
 public:
  static constexpr const char* kMask = "****";

  // Whether a configuration key names a secret (any case).
  static bool isSecretKey(std::string_view key);
  // The text with the value after each secret's name masked.
  static std::string mask(std::string_view text);
};

}  // namespace nuv
