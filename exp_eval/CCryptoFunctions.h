#pragma once
// Built-in encodings, digests and ciphers (all from nettle): BASE64.ENCODE,
// BASE64.DECODE, MD5, SHA1, ENCRYPT, DECRYPT, SENCRYPT, SDECRYPT.

#include "exp_eval/CFunctionCall.h"

namespace nuv {

class CCryptoFunctions {
 public:
  static void install(CFunctionTable& table);
};

}  // namespace nuv
