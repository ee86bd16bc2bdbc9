#include "exp_eval/CPostfixConverter.h"

#include "exp_eval/CExpEval.h"
#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace nuv {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

void CPostfixConverter::_fail(const CMessage& why) const {
  NUV_THROW("CExpEval::_string2Postfix", CMessage("Cannot parse expression '%1'.").pushs(m_text),
            why);
}

void CPostfixConverter::_failAt(const char* why, std::size_t pos) const {
  _fail(CMessage(why).push(pos + 1));
}

void CPostfixConverter::_missingRight() const {
  switch (m_lastOp) {
    case COperator::op_function:
      _fail(CMessage("Operator $ requires a function name."));
    case COperator::op_comma:
      _failAt("Missing value after ',' at position %1.", m_lastPos);
    case COperator::op_open:
      _fail(CMessage("Mismatched parentheses."));
    default:
      if (m_lastOp.isPrefix())
        _fail(CMessage("Operator %1 requires at least one operand.").pushs(m_lastOp.string()));
      _fail(CMessage("Operator %1 requires two operands.").pushs(m_lastOp.string()));
  }
}

void CPostfixConverter::run() {
  std::size_t begin = 0, end = m_text.size();
  while (begin < end && isBlank(m_text[begin])) ++begin;
  while (end > begin && isBlank(m_text[end - 1])) --end;
  if (end - begin >= 2 && m_text[begin] == '[' && m_text[end - 1] == ']') {
    ++begin;
    --end;
  }
  if (trim(m_text.substr(begin, end - begin)).empty())
    NUV_THROW("CExpEval::_string2Postfix", CMessage("Cannot convert empty expression to postfix."),
              CMessage("Invalid data."));

  constexpr std::size_t none = std::string_view::npos;
  std::size_t pending = none;  // start of the operand being collected
  char quote = 0;
  std::size_t quotePos = 0;
  for (std::size_t i = begin; i < end; ++i) {
    const char c = m_text[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '"' || c == '\'') {
      if (pending == none) pending = i;
      quote = c;
      quotePos = i;
      continue;
    }
    if (c == '[' || c == ']')
      _fail(CMessage("Unexpected '%1' at position %2.").pushs(std::string(1, c)).push(i + 1));
    std::size_t length = 0;
    const COperator op = COperator::match(m_text.substr(i, end - i), length);
    if (length == 0) {
      if (pending == none) pending = i;
      continue;
    }
    if (pending != none) _operand(pending, i);
    pending = none;
    _operator(op, i);
    i += length - 1;
  }
  if (quote) _failAt("Unterminated quote at position %1.", quotePos);
  if (pending != none) _operand(pending, end);
  _finish();
}

void CPostfixConverter::_operand(std::size_t begin, std::size_t end) {
  while (begin < end && isBlank(m_text[begin])) ++begin;
  while (end > begin && isBlank(m_text[end - 1])) --end;
  if (begin == end) return;
  const std::string_view text = m_text.substr(begin, end - begin);
  m_afterOpen = false;
  if (m_afterDollar) {
    m_out.emplace_back(CVariant(std::string(text), CVariantSubType::dst_function_name), begin);
    m_afterDollar = false;
    m_afterName = true;
    m_expectOperand = false;
    return;
  }
  if (!m_expectOperand)
    _fail(CMessage("Missing operator before '%1' at position %2.").pushs(text).push(begin + 1));
  const std::string word(text);
  const bool quoted = text.front() == '"' || text.front() == '\'';
  if (m_eval.reservedWord(quoted, word))
    m_out.emplace_back(CVariant(word, CVariantSubType::dst_reserved_word), begin);
  else
    m_out.emplace_back(CVariant::deduce(text), begin);
  m_expectOperand = false;
  m_afterName = false;
}

void CPostfixConverter::_operator(COperator op, std::size_t pos) {
  if (m_afterDollar) _fail(CMessage("Operator $ requires a function name."));
  if (op == COperator::op_close) return _close(pos);
  const bool afterName = m_afterName;
  m_afterName = false;
  m_afterOpen = false;
  if (op == COperator::op_open) {
    if (!m_expectOperand && !afterName) _failAt("Missing operator before '(' at position %1.", pos);
    m_stack.push_back({op, pos, afterName});
    m_expectOperand = true;
    m_afterOpen = true;
  } else {
    if (op == COperator::op_subtract && m_expectOperand) op = COperator::op_negate;
    if (op.isPrefix()) {
      // Nothing stands on its left to group with, so it pops nothing.
      if (!m_expectOperand)
        _fail(CMessage("Missing operator before '%1' at position %2.")
                  .pushs(op.string())
                  .push(pos + 1));
      m_afterDollar = op == COperator::op_function;
    } else {
      if (m_expectOperand) {
        if (op == COperator::op_comma) _failAt("Missing value before ',' at position %1.", pos);
        _fail(CMessage("Operator %1 requires two operands.").pushs(op.string()));
      }
      if (op == COperator::op_comma) {
        for (auto it = m_stack.rbegin(); it != m_stack.rend(); ++it) {
          if (it->op != COperator::op_open) continue;
          if (!it->call)
            _failAt("Misplaced ',' at position %1; commas separate function arguments or results.",
                    pos);
          break;
        }
      }
      while (!m_stack.empty() && m_stack.back().op != COperator::op_open &&
             m_stack.back().op.code() < op.code())
        _pop();
      m_expectOperand = true;
    }
    m_stack.push_back({op, pos});
  }
  m_lastOp = op;
  m_lastPos = pos;
}

void CPostfixConverter::_close(std::size_t pos) {
  if (m_expectOperand) {
    if (!m_afterOpen) _missingRight();
    if (!m_stack.back().call) _failAt("Empty parentheses at position %1.", m_stack.back().pos);
  }
  while (!m_stack.empty() && m_stack.back().op != COperator::op_open) _pop();
  if (m_stack.empty()) _fail(CMessage("Mismatched parentheses."));
  m_stack.pop_back();
  m_expectOperand = false;
  m_afterName = false;
  m_afterOpen = false;
  m_lastOp = COperator::op_close;
  m_lastPos = pos;
}

void CPostfixConverter::_pop() {
  const Entry e = m_stack.back();
  m_stack.pop_back();
  switch (e.op) {
    case COperator::op_colon: {
      // The ":" must sit right on its "?"; anything between means a branch
      // was split by an operator that binds less tightly than ":".
      if (m_stack.empty() || m_stack.back().op != COperator::op_conditional ||
          m_stack.back().matched)
        _failAt(
            "Misplaced ':' at position %1; put a branch of '?' that holds operators in "
            "parentheses.",
            e.pos);
      m_stack.back().matched = true;
      return;
    }
    case COperator::op_comma:
      return;
    case COperator::op_conditional:
      if (!e.matched) _failAt("Operator ? at position %1 has no matching ':'.", e.pos);
      break;
    default:
      break;
  }
  m_out.emplace_back(e.op, e.pos);
}

void CPostfixConverter::_finish() {
  if (m_afterDollar) _fail(CMessage("Operator $ requires a function name."));
  if (m_expectOperand) _missingRight();
  while (!m_stack.empty()) {
    if (m_stack.back().op == COperator::op_open) _fail(CMessage("Mismatched parentheses."));
    _pop();
  }
}

}  // namespace nuv
