#pragma once
// A decode failure: besides the texts it carries where the buffer started
// and how far into it the failing field was, so the caller can log where a
// message went wrong.

#include <cstddef>
#include <cstdint>

#include "standard/CException.h"

class CPktIOException : public nuv::CException {
 public:
  CPktIOException(nuv::CMessage what, nuv::CMessage why, std::string module, std::string context,
                  const char* file, int line, const std::uint8_t* buffer, std::size_t offset)
      : nuv::CException(std::move(what), std::move(why), std::move(module), std::move(context),
                        file, line),
        m_buffer(buffer),
        m_offset(offset) {}

  const std::uint8_t* buffer() const { return m_buffer; }
  std::size_t offset() const { return m_offset; }

 private:
  const std::uint8_t* m_buffer;
  std::size_t m_offset;
};

// Raise a decode failure at position pos of the buffer starting at start
// (start may be null when the message start is not known).
#define NUV_THROW_PKT(context, what, why, start, pos)                                             \
  throw ::CPktIOException((what), (why), NUV_MODULE_NAME, (context), __FILE__, __LINE__, (start), \
                          (start) ? static_cast<std::size_t>((pos) - (start)) : 0)
