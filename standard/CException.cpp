#include "standard/CException.h"

#include <cstring>

#include "standard/CMessageStore.h"
#include "standard/StringUtil.h"

namespace nuv {

CException::CException(CMessage what, CMessage why, std::string module_, std::string context_,
                       const char* file_, int line_, severity_t severity_, int errCode,
                       const void* mythis_)
    : file(file_ ? file_ : ""),
      line(line_),
      whatMsg(std::move(what)),
      whyMsg(std::move(why)),
      err_code(errCode),
      module(std::move(module_)),
      context(std::move(context_)),
      severity(severity_),
      mythis(mythis_),
      when(std::time(nullptr)) {
  // The raising class is the qualifier of the operation name.
  const auto sep = context.rfind("::");
  srcClass = sep == std::string::npos ? context : context.substr(0, sep);
  if (!srcClass.empty() && srcClass.front() == '*') srcClass.erase(0, 1);
  m_whatCache = whatMsg.formatted();
}

const char* CException::what() const noexcept {
  return m_whatCache.c_str();
}

std::string CException::whyText() const {
  if (err_code != 0 && whyMsg.empty()) return errText(err_code);
  return whyMsg.formatted();
}

std::string CException::errText(int errorNumber) {
  char buf[256];
  // GNU strerror_r may return a static string instead of filling buf.
  const char* text = strerror_r(errorNumber, buf, sizeof buf);
  return text ? text : "Unknown error";
}

std::string CException::printableError(const CMessageStore* store,
                                       const std::string& locale) const {
  std::string out = store ? store->tr(whatMsg, locale).formatted() : whatMsg.formatted();
  std::string why;
  if (err_code == 0)
    why = store ? store->tr(whyMsg, locale).formatted() : whyMsg.formatted();
  else
    why = whyText();
  if (!why.empty()) out += " (" + why + ")";
  return out;
}

std::string CException::where() const {
  std::string out = "module " + module + ", context " + context + ", class " + srcClass +
                    ", file " + file + ", line " + std::to_string(line);
  char stamp[32];
  std::tm tmv{};
  if (gmtime_r(&when, &tmv) && std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &tmv))
    out += ", at ";
  else
    stamp[0] = '\0';
  return out + stamp;
}

std::string CException::severityString(unsigned mask) {
  if (mask & sev_error) return "error";
  if (mask & sev_warning) return "warning";
  if (mask & sev_info) return "info";
  if (mask & sev_audit) return "audit";
  if (mask & sev_debug) return "debug";
  if (mask & sev_verbose) return "verbose";
  return "";
}

unsigned CException::severityMask(const std::string& text) {
  static const struct {
    const char* name;
    unsigned bit;
  } kNames[] = {{"error", sev_error},   {"warning", sev_warning}, {"info", sev_info},
                {"audit", sev_audit},   {"debug", sev_debug},     {"verbose", sev_verbose},
                {"all", kAllSeverities}};
  unsigned mask = 0;
  for (const std::string& raw : split(text, ',')) {
    const std::string item = trim(raw);
    bool known = false;
    for (const auto& n : kNames) {
      if (item == n.name) {
        mask |= n.bit;
        known = true;
        break;
      }
    }
    if (!known)
      throw CException(CMessage("Cannot parse severity mask '%1'.").pushs(text), "Invalid value.",
                       "standard", "CException::severityMask", __FILE__, __LINE__);
  }
  return mask;
}

}  // namespace nuv
