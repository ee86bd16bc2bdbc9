// Random and mutated expression texts: each must evaluate or raise
// nuv::CException; nothing else may escape and nothing may crash (the
// sanitizer build checks the memory side).

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "exp_eval/CExpEval.h"
#include "exp_eval/CExpression.h"
#include "standard/StringUtil.h"
#include "tests/fixtures/CRecordingHostServices.h"

using nuv::CExpEval;
using nuv::CMultiVariant;

namespace {

// The built-ins, with the ones that wait or write replaced.
class CQuietEval : public CExpEval {
 public:
  explicit CQuietEval(CIHostServices* host) : CExpEval(host) {
    for (const char* name : {"USLEEP", "PRINT", "LOG"})
      _setHandler(name, [](const CExpEval&, CMultiVariant&, CMultiVariant& results) {
        results.emplace_back(true);
      });
  }
};

// Pieces of texts, separated by blanks.
const auto kOperators =
    nuv::split("+ - * / < <= > >= == != & | ^ && || ! ~ ? : = , ( ) $ $$ [ ]", ' ');
const auto kOperands = nuv::split(
    "0 1 -1 0x10 010 9223372036854775807 18446744073709551615 \"abc\" 'x' \"\" \"a+b\" true "
    "false 10.0.0.1 2001:db8::1 00-11 \"00-11-22-33-44-55-66-77\" abc \"[1]\" \"[1+\" \" ' "
    "\"%Y%Q\" \"2024-02-29T13:05:09Z\"",
    ' ');
// Operands that stand on their own (no unbalanced quote, no ':').
const auto kLeaves = nuv::split(
    "0 1 7 -3 0x10 9223372036854775807 18446744073709551615 \"abc\" 'x' \"\" true false 10.0.0.1 "
    "\"2001:db8::1\" \"00-11-22-33-44-55-66-77\" \"[1+1]\" \"%Y\"",
    ' ');
const auto kBinary = nuv::split("+ - * / < <= > >= == != & | ^ && ||", ' ');

class Generator {
 public:
  Generator(unsigned seed, std::vector<std::string> functions)
      : m_rng(seed), m_functions(std::move(functions)) {}

  // Any sequence of pieces: mostly nonsense.
  std::string soup() {
    std::string out = _below(10) ? "[" : "";
    for (std::size_t n = 1 + _below(20); n > 0; --n) {
      const std::size_t kind = _below(3);
      out += kind == 0 ? _pick(kOperators) : kind == 1 ? _pick(kOperands) : _call();
      if (_below(2)) out += ' ';
    }
    return _below(10) ? out + "]" : out;
  }

  // A well-formed expression; it may still fail on types or arguments.
  std::string expression(int depth) {
    if (depth <= 0 || _below(4) == 0) return _pick(kLeaves);
    const auto sub = [&] { return expression(depth - 1); };
    switch (_below(5)) {
      case 0:
        return (_below(2) ? "!" : "-") + sub();
      case 1:
        return "(" + sub() + " " + _pick(kBinary) + " " + sub() + ")";
      case 2:
        return "(" + sub() + " ? (" + sub() + ") : (" + sub() + "))";
      default: {
        std::string call = _call();
        for (std::size_t i = _below(4); i > 0; --i) call += sub() + (i > 1 ? ", " : "");
        return call + ")";
      }
    }
  }

  // Deletes, inserts, replaces or swaps a few characters.
  std::string mutate(std::string text) {
    static const std::string alphabet = "[]()$\"',:?!-+*/<>=&|^~ 0123456789abcxyzLEFTMID.";
    for (std::size_t n = 1 + _below(4); n > 0 && !text.empty(); --n) {
      const std::size_t at = _below(text.size()), kind = _below(4);
      const char c = alphabet[_below(alphabet.size())];
      if (kind == 0)
        text.erase(at, 1);
      else if (kind == 1)
        text.insert(at, 1, c);
      else if (kind == 2)
        text[at] = c;
      else
        std::swap(text[at], text[_below(text.size())]);
    }
    return text;
  }

 private:
  std::size_t _below(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_rng);
  }
  const std::string& _pick(const std::vector<std::string>& v) { return v[_below(v.size())]; }
  std::string _call() { return "$" + _pick(m_functions) + "("; }

  std::mt19937 m_rng;
  std::vector<std::string> m_functions;
};

struct Outcome {
  int evaluated = 0;
  int failed = 0;
};

void feed(const CExpEval& eval, const std::string& text, Outcome& outcome) {
  try {
    CMultiVariant values;
    eval.execute(values, *eval.parse(text));
    for (const auto& v : values) (void)v.string();
    ++outcome.evaluated;
  } catch (const nuv::CException&) {
    ++outcome.failed;
  } catch (const std::exception& e) {
    ADD_FAILURE() << "'" << text << "' raised " << e.what();
  }
  // The same through CExpression: a failure there names the text.
  try {
    *nuv::CExpression(&eval, text);
  } catch (const nuv::CException& e) {
    EXPECT_NE(e.whatText().find(text), std::string::npos) << e.whatText();
  } catch (const std::exception& e) {
    ADD_FAILURE() << "'" << text << "' raised " << e.what() << " through CExpression";
  }
}

}  // namespace

TEST(CExpEvalFuzzTest, RandomAndMutatedTextsEvaluateOrRaise) {
  CRecordingHostServices host;
  host.mutableConfig().set("system.shared_key", "fuzz");
  const CQuietEval eval(&host);
  std::vector<std::string> functions = eval.functionList();
  functions.push_back("NOSUCH");
  Generator gen(20240229, functions);
  Outcome soup, wellFormed, mutated;
  for (int i = 0; i < 3000; ++i) feed(eval, gen.soup(), soup);
  for (int i = 0; i < 2000; ++i) {
    const std::string text = "[" + gen.expression(4) + "]";
    feed(eval, text, wellFormed);
    feed(eval, gen.mutate(text), mutated);
  }
  // Both outcomes occur, so the texts reach evaluation as well as the
  // syntax checks.
  EXPECT_GT(soup.failed, 0);
  EXPECT_GT(wellFormed.evaluated, 100);
  EXPECT_GT(wellFormed.failed, 100);
  EXPECT_GT(mutated.evaluated, 0);
  EXPECT_GT(mutated.failed, 0);
}
