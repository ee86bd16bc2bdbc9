#pragma once
// A message template with numbered placeholders "%1", "%2", ... and its
// argument texts. Every exception text and log line of the system is one.

#include <string>
#include <string_view>
#include <type_traits>

#include "standard/CArgBuffer.h"

namespace nuv {

template <class Args>
class CBasicMessage {
 public:
  CBasicMessage() = default;
  CBasicMessage(const char* text) : m_msg(text ? text : "") {}  // NOLINT: implicit by design
  CBasicMessage(std::string text, int id = -1, std::string module = {})
      : m_msg(std::move(text)), m_id(id), m_module(std::move(module)) {}

  const std::string& msg() const { return m_msg; }
  void setMsg(std::string text) { m_msg = std::move(text); }
  int id() const { return m_id; }
  void setId(int id) { m_id = id; }
  const std::string& module() const { return m_module; }
  void setModule(std::string module) { m_module = std::move(module); }
  const Args& args() const { return m_args; }
  bool empty() const { return m_msg.empty(); }

  CBasicMessage& pushs(const char* text) {
    m_args.push(text);
    return *this;
  }
  CBasicMessage& pushs(std::string_view text) {
    m_args.push(text);
    return *this;
  }
  CBasicMessage& pushs(const std::string& text) { return pushs(std::string_view(text)); }

  template <class N, class = std::enable_if_t<std::is_integral_v<N> && !std::is_same_v<N, bool>>>
  CBasicMessage& push(N n) {
    m_args.push(std::string_view(std::to_string(n)));
    return *this;
  }

  // Any address value with a string() text form (CIPAddress, CEndpoint).
  template <class Address>
  CBasicMessage& pusho(const Address& address) {
    m_args.push(std::string_view(address.string()));
    return *this;
  }

  // The template with every placeholder that has an argument replaced.
  std::string formatted() const;

 private:
  std::string m_msg;
  int m_id = -1;
  std::string m_module;
  Args m_args;
};

// Replaces %1..%n in text by args in increasing order; an inserted text is
// never searched again, so arguments containing "%1" stay as they are.
template <class Args>
std::string formatMessage(std::string text, const Args& args);

using CMessage = CBasicMessage<CMessageArgs>;
using CSmallMessage = CBasicMessage<CSmallMessageArgs>;

extern template class CBasicMessage<CMessageArgs>;
extern template class CBasicMessage<CSmallMessageArgs>;

}  // namespace nuv
