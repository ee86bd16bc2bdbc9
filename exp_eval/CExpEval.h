#pragma once
// The expression evaluator: turns an expression text into a syntax tree
// (tokenizer, infix-to-postfix conversion, tree builder) and interprets
// trees, calling the registered "$" functions.
//
// Parse once, evaluate many times: parse() gives an immutable tree that any
// number of threads may execute at the same time. Register functions
// (_setHandler) before the evaluator is shared; the table is not locked.
//
// The host is reached through its optional services: the Blowfish key of
// the encryption functions is its configuration's shared server key, and
// $LOG writes to its process log (to standard error when there is no
// host).

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "exp_eval/CMultiVariant.h"
#include "exp_eval/CSyntaxTreeProxy.h"
#include "exp_eval/CToken.h"

class CIHostServices;

namespace nuv {

class CBlowfish;

class CExpEval {
 public:
  // A "$" function: arguments in call order (the handler may consume them);
  // it appends its results. It must give at least one result.
  using Handler =
      std::function<void(const CExpEval& eval, CMultiVariant& arguments, CMultiVariant& results)>;
  using TreePtr = std::shared_ptr<const CSyntaxTreeProxy>;

  // Deeper trees are refused: evaluation recurses once per level.
  static constexpr std::size_t kMaxDepth = 200;

  explicit CExpEval(CIHostServices* host = nullptr);
  CExpEval(const CExpEval&) = delete;
  CExpEval& operator=(const CExpEval&) = delete;
  virtual ~CExpEval();

  // The tree of an expression text ("[...]"; the brackets may be left out).
  virtual TreePtr parse(std::string_view text) const;
  // The first value of the tree.
  virtual void execute(CVariant& result, const CSyntaxTreeProxy& tree) const;
  // Every value of the tree, replacing the content of results.
  virtual void execute(CMultiVariant& results, const CSyntaxTreeProxy& tree) const;

 protected:
  // Registers a function, replacing one of the same name (names are
  // case-sensitive).
  virtual void _setHandler(const std::string& name, Handler handler);
  // text -> postfix tokens; every syntax error is found here and names the
  // text and the position.
  virtual void _string2Postfix(std::string_view text, std::vector<CToken>& tokens) const;
  virtual TreePtr _postfix2Tree(std::vector<CToken> tokens) const;

 public:
  // Whether an operand text (quoted: written in quotes) is a reserved word
  // of the language; such operands get the subtype "reserved word". The
  // base language has none.
  virtual bool reservedWord(bool quoted, const std::string& name) const;

  // Runs the named function; fails for an unknown name.
  void callback(CMultiVariant& results, const std::string& name, CMultiVariant& arguments) const;
  // The registered names, sorted.
  std::vector<std::string> functionList() const;
  CIHostServices* host() const { return m_host; }
  // The cipher keyed with the host's shared server key; rebuilt when the
  // configured key changes. Throws when there is no host or no key.
  std::shared_ptr<const CBlowfish> cipher() const;

 private:
  CIHostServices* m_host;  // not owned
  std::unordered_map<std::string, Handler> m_handlers;

  mutable std::mutex m_cipherMutex;
  mutable std::string m_cipherKey;
  mutable std::shared_ptr<const CBlowfish> m_cipher;
};

}  // namespace nuv
