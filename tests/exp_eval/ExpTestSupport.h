#pragma once
// Shared by the evaluator tests: an evaluator on a recording host, and
// one-line ways to evaluate a text or catch what it raises.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "exp_eval/CExpEval.h"
#include "exp_eval/CExpression.h"
#include "tests/fixtures/CRecordingHostServices.h"
#include "tests/fixtures/FailureOf.h"

class ExpTest : public ::testing::Test {
 protected:
  ExpTest() { host.mutableConfig().set("system.shared_key", "abcdefghijklmnopqrstuvwxyz"); }

  // Every value, through the evaluator itself (failures as raised inside).
  nuv::CMultiVariant run(std::string_view text) const {
    nuv::CMultiVariant out;
    eval.execute(out, *eval.parse(text));
    return out;
  }
  // The one value of a text.
  nuv::CVariant one(std::string_view text) const {
    const nuv::CMultiVariant out = run(text);
    EXPECT_EQ(out.size(), 1u) << text;
    return out.empty() ? nuv::CVariant() : out.front();
  }
  std::string str(std::string_view text) const { return one(text).string(); }
  // What evaluating the text raises inside the evaluator.
  Failure failure(std::string_view text) const {
    return failureOf([&] { run(text); });
  }
  // What the same raises through CExpression (texts name the expression).
  Failure exprFailure(std::string_view text) const {
    return failureOf([&] { *nuv::CExpression(&eval, text); });
  }

  CRecordingHostServices host;
  nuv::CExpEval eval{&host};
};
