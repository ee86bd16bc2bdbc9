#pragma once
// The one exception class of the system: what failed, why, where, and how
// serious it is. Raise with NUV_THROW so the module and location are filled in.

#include <ctime>
#include <exception>
#include <string>

#include "standard/CMessage.h"
#include "standard/CSeverity.h"

namespace nuv {

class CMessageStore;

class CException : public std::exception {
 public:
  CException() = default;
  CException(CMessage what, CMessage why, std::string module, std::string context,
             const char* file = "", int line = 0, severity_t severity = sev_error, int errCode = 0,
             const void* mythis = nullptr);

  // Record fields, public as the record they are.
  std::string srcClass;
  std::string file;
  int line = 0;
  CMessage whatMsg;
  CMessage whyMsg;
  int err_code = 0;
  std::string module;
  std::string context;
  severity_t severity = sev_error;
  const void* mythis = nullptr;
  std::time_t when = 0;

  // The formatted what-text.
  const char* what() const noexcept override;
  std::string whatText() const { return whatMsg.formatted(); }
  // The formatted why-text, or the error text of err_code when it is set.
  std::string whyText() const;

  std::string printableError(const CMessageStore* store = nullptr,
                             const std::string& locale = "en_US") const;
  std::string where() const;

  static std::string severityString(unsigned mask);
  static unsigned severityMask(const std::string& text);
  static std::string errText(int errorNumber);

 private:
  std::string m_whatCache;
};

}  // namespace nuv

// Raise from inside module code: NUV_THROW("CClass::op", what, why).
#define NUV_THROW(context, what, why) \
  throw ::nuv::CException((what), (why), NUV_MODULE_NAME, (context), __FILE__, __LINE__)

// Raise with a system error number as the why (errText gives its text).
#define NUV_THROW_ERRNO(context, what, errnum)                                             \
  throw ::nuv::CException((what), ::nuv::CMessage(), NUV_MODULE_NAME, (context), __FILE__, \
                          __LINE__, ::nuv::sev_error, (errnum))
