#include "exp_eval/COperator.h"

#include "standard/CException.h"

namespace nuv {

namespace {

const char* const kTexts[] = {"",  "$", "$$", ":",  "!", "-",  "~",  "*",  "/",
                              "+", "-", "<",  "<=", ">", ">=", "==", "!=", "&",
                              "^", "|", "&&", "||", "?", "=",  ",",  "(",  ")"};
static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == COperator::kLast + 1);

struct Pattern {
  std::string_view text;
  COperator::code_t code;
};
// The tokenizer's order: the first match wins, so "<=" comes before "<".
constexpr Pattern kScanOrder[] = {
    {"<=", COperator::op_less_equal}, {"<", COperator::op_less},
    {"$", COperator::op_function},    {">=", COperator::op_greater_equal},
    {">", COperator::op_greater},     {"+", COperator::op_add},
    {"-", COperator::op_subtract},    {"*", COperator::op_multiply},
    {"/", COperator::op_divide},      {"(", COperator::op_open},
    {")", COperator::op_close},       {"&&", COperator::op_and},
    {"&", COperator::op_bit_and},     {"||", COperator::op_or},
    {"|", COperator::op_bit_or},      {"!=", COperator::op_not_equal},
    {"!", COperator::op_not},         {"==", COperator::op_equal},
    {"=", COperator::op_assign},      {"^", COperator::op_bit_xor},
    {"~", COperator::op_tilde},       {"?", COperator::op_conditional},
    {":", COperator::op_colon},       {",", COperator::op_comma},
};

}  // namespace

COperator COperator::fromCode(unsigned code) {
  if (code > kLast)
    NUV_THROW("COperator::fromCode", CMessage("Cannot set variant operator type '%1'.").push(code),
              CMessage("Illegal value."));
  return COperator(static_cast<code_t>(code));
}

COperator COperator::fromText(std::string_view text) {
  if (text == "$$") return COperator(op_function2);
  std::size_t length = 0;
  const COperator op = match(text, length);
  if (length == 0 || length != text.size())
    NUV_THROW("COperator::fromText", CMessage("Cannot assign operator from text '%1'.").pushs(text),
              CMessage("Illegal value."));
  return op;
}

COperator COperator::match(std::string_view text, std::size_t& length) {
  for (const Pattern& p : kScanOrder) {
    if (text.substr(0, p.text.size()) == p.text) {
      length = p.text.size();
      return COperator(p.code);
    }
  }
  length = 0;
  return COperator(op_none);
}

const char* COperator::string(unsigned code) {
  return code <= kLast ? kTexts[code] : "unknown";
}

}  // namespace nuv
