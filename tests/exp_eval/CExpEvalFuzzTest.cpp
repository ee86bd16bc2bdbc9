// Random and mutated expression texts: each must evaluate or raise
// nuv::CException; nothing else may escape and nothing may crash (the
// sanitizer build checks the memory side).

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "exp_eval/CExpEval.h"
#include "exp_eval/CExpression.h"
#include "standard/CException.h"
#include "tests/fixtures/CRecordingController.h"

using nuv::CExpEval;
using nuv::CMultiVariant;

namespace {

// The built-ins, with the ones that wait or write replaced.
class CQuietEval : public CExpEval {
 public:
  explicit CQuietEval(CMasterController* controller) : CExpEval(controller) {
    for (const char* name : {"USLEEP", "PRINT", "LOG"})
      _setHandler(name, [](const CExpEval&, CMultiVariant&, CMultiVariant& results) {
        results.emplace_back(true);
      });
  }
};

const std::vector<std::string> kOperators = {
    "+",  "-", "*", "/", "<", "<=", ">", ">=", "==", "!=", "&",  "|", "^", "&&",
    "||", "!", "~", "?", ":", "=",  ",", "(",  ")",  "$",  "$$", "[", "]"};
const std::vector<std::string> kOperands = {"0",
                                            "1",
                                            "-1",
                                            "7",
                                            "0x10",
                                            "010",
                                            "9223372036854775807",
                                            "18446744073709551615",
                                            "\"abc\"",
                                            "'x'",
                                            "\"\"",
                                            "\"a+b\"",
                                            "true",
                                            "false",
                                            "10.0.0.1",
                                            "2001:db8::1",
                                            "00-11",
                                            "\"00-11-22-33-44-55-66-77\"",
                                            "abc",
                                            "\"2024-02-29 13:05:09\"",
                                            "\"[1]\"",
                                            "\"[1 +\"",
                                            "\"",
                                            "'",
                                            "\"%Y %Q\""};
// Operands that stand on their own (no unbalanced quote, no ':').
const std::vector<std::string> kLeaves = {"0",
                                          "1",
                                          "7",
                                          "0x10",
                                          "9223372036854775807",
                                          "18446744073709551615",
                                          "\"abc\"",
                                          "'x'",
                                          "\"\"",
                                          "true",
                                          "false",
                                          "10.0.0.1",
                                          "\"2001:db8::1\"",
                                          "\"00-11-22-33-44-55-66-77\"",
                                          "\"[1 + 1]\"",
                                          "\"%Y\"",
                                          "-3"};

class Generator {
 public:
  explicit Generator(unsigned seed) : m_rng(seed) {}

  std::size_t below(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_rng);
  }
  template <class T>
  const T& pick(const std::vector<T>& v) {
    return v[below(v.size())];
  }

  // Any sequence of pieces: mostly nonsense.
  std::string soup(const std::vector<std::string>& functions) {
    std::string out = below(10) ? "[" : "";
    const std::size_t n = 1 + below(20);
    for (std::size_t i = 0; i < n; ++i) {
      switch (below(3)) {
        case 0:
          out += pick(kOperators);
          break;
        case 1:
          out += pick(kOperands);
          break;
        default:
          out += "$" + pick(functions) + "(";
          break;
      }
      if (below(2)) out += ' ';
    }
    if (below(10)) out += "]";
    return out;
  }

  // A well-formed expression; it may still fail on types or arguments.
  std::string expression(const std::vector<std::string>& functions, int depth) {
    if (depth <= 0 || below(4) == 0) return pick(kLeaves);
    switch (below(5)) {
      case 0:
        return (below(2) ? "!" : "-") + expression(functions, depth - 1);
      case 1: {
        static const std::vector<std::string> binary = {
            "+", "-", "*", "/", "<", "<=", ">", ">=", "==", "!=", "&", "|", "^", "&&", "||"};
        return "(" + expression(functions, depth - 1) + " " + pick(binary) + " " +
               expression(functions, depth - 1) + ")";
      }
      case 2:
        return "(" + expression(functions, depth - 1) + " ? (" + expression(functions, depth - 1) +
               ") : (" + expression(functions, depth - 1) + "))";
      default: {
        std::string call = "$" + pick(functions) + "(";
        const std::size_t n = below(4);
        for (std::size_t i = 0; i < n; ++i)
          call += (i ? ", " : "") + expression(functions, depth - 1);
        return call + ")";
      }
    }
  }

  // Deletes, inserts, replaces or swaps a few characters.
  std::string mutate(std::string text) {
    static const std::string alphabet = "[]()$\"',:?!-+*/<>=&|^~ 0123456789abcxyzLEFTMID.";
    const std::size_t n = 1 + below(4);
    for (std::size_t i = 0; i < n && !text.empty(); ++i) {
      const std::size_t at = below(text.size());
      switch (below(4)) {
        case 0:
          text.erase(at, 1);
          break;
        case 1:
          text.insert(at, 1, alphabet[below(alphabet.size())]);
          break;
        case 2:
          text[at] = alphabet[below(alphabet.size())];
          break;
        default:
          std::swap(text[at], text[below(text.size())]);
          break;
      }
    }
    return text;
  }

 private:
  std::mt19937 m_rng;
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
  } catch (const nuv::CException& e) {
    EXPECT_FALSE(e.whatText().empty()) << text;
    ++outcome.failed;
  } catch (const std::exception& e) {
    ADD_FAILURE() << "'" << text << "' raised " << typeid(e).name() << ": " << e.what();
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
  CRecordingController controller;
  controller.mutableConfig().set("system.shared_key", "fuzz");
  const CQuietEval eval(&controller);
  std::vector<std::string> functions = eval.functionList();
  functions.push_back("NOSUCH");
  Generator gen(20240229);
  Outcome soup, wellFormed, mutated;
  for (int i = 0; i < 3000; ++i) feed(eval, gen.soup(functions), soup);
  for (int i = 0; i < 2000; ++i) {
    const std::string text = "[" + gen.expression(functions, 4) + "]";
    feed(eval, text, wellFormed);
    feed(eval, gen.mutate(text), mutated);
  }
  // Both kinds of outcome occur, so the texts reach evaluation as well as
  // the syntax checks.
  EXPECT_GT(soup.failed, 0);
  EXPECT_GT(wellFormed.evaluated, 100);
  EXPECT_GT(wellFormed.failed, 100);
  EXPECT_GT(mutated.evaluated, 0);
  EXPECT_GT(mutated.failed, 0);
}
