#include "exp_eval/CExpEval.h"

#include <algorithm>

#include "exp_eval/CBlowfish.h"
#include "exp_eval/CControlFunctions.h"
#include "exp_eval/CConversionFunctions.h"
#include "exp_eval/CCryptoFunctions.h"
#include "exp_eval/CPostfixConverter.h"
#include "exp_eval/CStringFunctions.h"
#include "exp_eval/CTermNode.h"
#include "exp_eval/CTimeFunctions.h"
#include "extended/CConfigNames.h"
#include "extended/CIHostServices.h"
#include "standard/CException.h"

namespace nuv {

CExpEval::CExpEval(CIHostServices* host) : m_host(host) {
  CStringFunctions::install(m_handlers);
  CConversionFunctions::install(m_handlers);
  CCryptoFunctions::install(m_handlers);
  CTimeFunctions::install(m_handlers);
  CControlFunctions::install(m_handlers);
}

CExpEval::~CExpEval() = default;

CExpEval::TreePtr CExpEval::parse(std::string_view text) const {
  std::vector<CToken> tokens;
  _string2Postfix(text, tokens);
  return _postfix2Tree(std::move(tokens));
}

void CExpEval::execute(CVariant& result, const CSyntaxTreeProxy& tree) const {
  if (!tree.root())
    NUV_THROW("CExpEval::execute", CMessage("Cannot execute expression."),
              CMessage("Invalid syntax tree."));
  result = tree.root()->value(*this);
}

void CExpEval::execute(CMultiVariant& results, const CSyntaxTreeProxy& tree) const {
  results.clear();
  if (!tree.root())
    NUV_THROW("CExpEval::execute", CMessage("Cannot execute expression."),
              CMessage("Invalid syntax tree."));
  tree.root()->values(*this, results);
}

void CExpEval::_setHandler(const std::string& name, Handler handler) {
  m_handlers[name] = std::move(handler);
}

void CExpEval::_string2Postfix(std::string_view text, std::vector<CToken>& tokens) const {
  tokens.clear();
  CPostfixConverter(*this, text, tokens).run();
}

namespace {

[[noreturn]] void treeFailure(const CMessage& why) {
  NUV_THROW("CExpEval::_postfix2Tree", CMessage("Failed to execute expression."), why);
}

}  // namespace

CExpEval::TreePtr CExpEval::_postfix2Tree(std::vector<CToken> tokens) const {
  auto tree = std::make_shared<CSyntaxTreeProxy>(std::move(tokens));
  struct Item {
    const CNodeBase* node;
    bool name;  // a function name waiting for its "$"
  };
  std::vector<Item> stack;
  // The n operands on top of the stack, none of them a function name.
  auto haveOperands = [&stack](std::size_t n) {
    if (stack.size() < n) return false;
    for (std::size_t i = stack.size() - n; i < stack.size(); ++i)
      if (stack[i].name) return false;
    return true;
  };
  for (const CToken& t : tree->postfix()) {
    if (t.isOperand()) {
      stack.push_back({tree->addTerminal(t.operand()), t.isFunctionName()});
      continue;
    }
    const COperator op = t.op();
    const CNodeBase* node = nullptr;
    if (op == COperator::op_function) {
      auto name = std::find_if(stack.rbegin(), stack.rend(), [](const Item& i) { return i.name; });
      if (name == stack.rend())
        treeFailure(CMessage("Operator %1 requires a function name.").pushs(op.string()));
      const std::size_t at = static_cast<std::size_t>(stack.rend() - name) - 1;
      std::vector<const CNodeBase*> arguments;
      for (std::size_t i = at + 1; i < stack.size(); ++i) arguments.push_back(stack[i].node);
      node = tree->addFunction(stack[at].node, std::move(arguments));
      stack.resize(at);
    } else if (op == COperator::op_conditional) {
      if (!haveOperands(3)) treeFailure(CMessage("Operator ? requires three operands."));
      const std::size_t n = stack.size();
      node = tree->addConditional(stack[n - 3].node, stack[n - 2].node, stack[n - 1].node);
      stack.resize(n - 3);
    } else if (op.isPrefix()) {
      if (!haveOperands(1))
        treeFailure(CMessage("Operator %1 requires at least one operand.").pushs(op.string()));
      node = tree->addOperator(op, stack.back().node, nullptr);
      stack.pop_back();
    } else if (op.isBinary() && op != COperator::op_comma && op != COperator::op_colon) {
      if (!haveOperands(2))
        treeFailure(CMessage("Operator %1 requires two operands.").pushs(op.string()));
      const std::size_t n = stack.size();
      node = tree->addOperator(op, stack[n - 2].node, stack[n - 1].node);
      stack.resize(n - 2);
    } else {
      treeFailure(CMessage("Operator %1 cannot stand in a postfix list.").pushs(op.string()));
    }
    stack.push_back({node, false});
  }
  if (haveOperands(stack.size())) {
    if (stack.size() == 1) {
      tree->setRoot(stack.front().node);
    } else if (stack.size() > 1) {
      std::vector<const CNodeBase*> items;
      for (const Item& i : stack) items.push_back(i.node);
      tree->setRoot(tree->addList(std::move(items)));
    }
  } else {
    treeFailure(CMessage("A function name is not followed by its '$'."));
  }
  if (tree->root() && tree->root()->depth() > kMaxDepth)
    treeFailure(CMessage("Expression is nested more than %1 levels deep.").push(kMaxDepth));
  return tree;
}

bool CExpEval::reservedWord(bool, const std::string&) const {
  return false;
}

void CExpEval::callback(CMultiVariant& results, const std::string& name,
                        CMultiVariant& arguments) const {
  const auto it = m_handlers.find(name);
  if (it == m_handlers.end())
    NUV_THROW("CExpEval::callback", CMessage("Runtime error."),
              CMessage("Unknown function '%1'.").pushs(name));
  it->second(*this, arguments, results);
}

std::vector<std::string> CExpEval::functionList() const {
  std::vector<std::string> names;
  names.reserve(m_handlers.size());
  for (const auto& entry : m_handlers) names.push_back(entry.first);
  std::sort(names.begin(), names.end());
  return names;
}

std::shared_ptr<const CBlowfish> CExpEval::cipher() const {
  const char* what = "Cannot initialise the Blowfish cipher.";
  if (!m_host)
    NUV_THROW("CExpEval::cipher", CMessage(what),
              CMessage("No host controller supplies the shared server key."));
  const std::string keyName = CConfigNames::sharedKey();
  const auto config = m_host->config();
  const std::string key = config ? config->get(keyName) : std::string();
  if (key.empty())
    NUV_THROW("CExpEval::cipher", CMessage(what),
              CMessage("The configuration key '%1' has no value.").pushs(keyName));
  if (key.size() > CBlowfish::kMaxKeySize)
    NUV_THROW("CExpEval::cipher", CMessage(what),
              CMessage("The value of the configuration key '%1' is %2 bytes long; the most is %3.")
                  .pushs(keyName)
                  .push(key.size())
                  .push(CBlowfish::kMaxKeySize));
  std::lock_guard<std::mutex> lock(m_cipherMutex);
  if (!m_cipher || key != m_cipherKey) {
    m_cipher = std::make_shared<const CBlowfish>(key);
    m_cipherKey = key;
  }
  return m_cipher;
}

}  // namespace nuv
