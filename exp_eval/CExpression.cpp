#include "exp_eval/CExpression.h"

#include <exception>

#include "exp_eval/CExpEval.h"
#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace nuv {

namespace {

const char* const kParseWhat = "Cannot parse expression '%1'.";
const char* const kExecuteWhat = "Cannot execute expression '%1'.";

}  // namespace

CExpression::CExpression(const CExpEval* eval, std::string_view text) : m_eval(eval) {
  assign(text);
}

CExpression& CExpression::assign(std::string_view text) {
  if (isLiteral(text)) {
    m_text.assign(text);
    m_tree.reset();
    return *this;
  }
  if (!m_eval)
    NUV_THROW("CExpression::assign", CMessage(kParseWhat).pushs(text),
              CMessage("No expression evaluator is set."));
  std::shared_ptr<const CSyntaxTreeProxy> tree;
  try {
    tree = m_eval->parse(text);
  } catch (const CException& e) {
    // The converter's failures already say which text; keep just the reason.
    const bool same = e.whatMsg.msg() == kParseWhat;
    const std::string why = same ? e.whyText() : e.printableError();
    NUV_THROW("CExpression::assign", CMessage(kParseWhat).pushs(text),
              CMessage(why.empty() ? "Expression does not evaluate." : why));
  }
  m_text.assign(text);
  m_tree = std::move(tree);
  return *this;
}

CMultiVariant CExpression::operator*() const {
  CMultiVariant results;
  if (!m_tree) {
    const std::string literal = trim(m_text);
    if (!literal.empty()) results.push_back(CVariant::deduce(literal));
    return results;
  }
  try {
    m_eval->execute(results, *m_tree);
  } catch (const CException& e) {
    NUV_THROW("CExpression::operator*", CMessage(kExecuteWhat).pushs(m_text),
              CMessage(e.printableError()));
  } catch (const std::exception& e) {
    NUV_THROW("CExpression::operator*", CMessage(kExecuteWhat).pushs(m_text), CMessage(e.what()));
  }
  return results;
}

std::string CExpression::postfix() const {
  return m_tree ? m_tree->postfixText() : std::string();
}

bool CExpression::isLiteral(std::string_view text) {
  const std::string t = trim(text);
  return !(t.size() >= 2 && t.front() == '[' && t.back() == ']');
}

bool CExpression::operator==(const CExpression& other) const {
  if (m_tree && other.m_tree) return *m_tree == *other.m_tree;
  if (m_tree || other.m_tree) return false;
  return m_text == other.m_text;
}

bool isExpression(std::string_view text) {
  return !text.empty() && !CExpression::isLiteral(text);
}

}  // namespace nuv
