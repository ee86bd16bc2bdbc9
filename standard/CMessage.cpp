#include "standard/CMessage.h"

#include <charconv>

#include "standard/CException.h"

namespace nuv {

namespace detail {
void argBufferFailure(const char* what, const char* why, std::size_t index) {
  CMessage w(what);
  if (std::string_view(what).find("%1") != std::string_view::npos) w.push(index);
  throw CException(std::move(w), CMessage(why), "standard", "CArgBuffer::_push", __FILE__,
                   __LINE__);
}
}  // namespace detail

template <class Args>
std::string formatMessage(std::string text, const Args& args) {
  char token[24] = {'%'};
  for (std::size_t k = 1; k <= args.size(); ++k) {
    const std::size_t length = std::to_chars(token + 1, token + sizeof token, k).ptr - token;
    const std::string_view name(token, length);
    const std::string_view arg = args[k - 1];
    std::size_t pos = text.find(name);
    while (pos != std::string::npos) {
      text.replace(pos, length, arg);
      pos = text.find(name, pos + arg.size() + 1);
    }
  }
  return text;
}

template <class Args>
std::string CBasicMessage<Args>::formatted() const {
  return formatMessage(m_msg, m_args);
}

template class CBasicMessage<CMessageArgs>;
template class CBasicMessage<CSmallMessageArgs>;
template std::string formatMessage(std::string, const CMessageArgs&);
template std::string formatMessage(std::string, const CSmallMessageArgs&);

}  // namespace nuv
