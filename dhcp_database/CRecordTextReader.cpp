#include "dhcp_database/CRecordTextReader.h"

#include "oodb/CPrstValueTraits.h"
#include "standard/CException.h"
#include "standard/StringUtil.h"

nuv::CStringMap CRecordTextReader::parse(std::string_view text) {
  nuv::CStringMap out(false);
  std::string options;
  for (const std::string& raw : nuv::split(text, '\n')) {
    const std::string line = nuv::trim(raw);
    if (line.empty()) continue;
    const auto eq = line.find('=');
    const std::string key = nuv::trim(std::string_view(line).substr(0, eq));
    const std::string value =
        eq == std::string::npos ? std::string() : nuv::trim(std::string_view(line).substr(eq + 1));
    if (nuv::iequals(key, "option"))
      options.append(value).append("\n");
    else
      out.set(key, value);
  }
  if (!options.empty()) out.set("options", options);
  return out;
}

const std::string* CRecordTextReader::get(const char* key, const char* alias) const {
  const std::string* v = m_map.getp(key);
  return v ? v : m_map.getp(alias);
}

void CRecordTextReader::fail(const nuv::CMessage& detail) const {
  throw nuv::CException(nuv::CMessage(m_summary), detail, NUV_MODULE_NAME, m_context, __FILE__,
                        __LINE__);
}

void CRecordTextReader::invalid(const char* key) const {
  const std::string* v = m_map.getp(key);
  fail(nuv::CMessage("Invalid value '%2' for key '%1'.").pushs(key).pushs(v ? *v : ""));
}

template <class T>
std::optional<T> CRecordTextReader::_typed(const char* key) const {
  const std::string* v = m_map.getp(key);
  if (!v) return std::nullopt;
  try {
    return CPrstValueTraits<T>::parse(*v);
  } catch (const nuv::CException&) {
    invalid(key);
  }
}

std::optional<std::uint32_t> CRecordTextReader::u32(const char* key) const {
  const std::string* v = m_map.getp(key);
  if (!v) return std::nullopt;
  // Unlike stored arguments, text from an operator never wraps: "-1" is
  // a mistake, not 4294967295.
  try {
    return static_cast<std::uint32_t>(prst_detail::parseUnsigned(*v, UINT32_MAX, false));
  } catch (const nuv::CException&) {
    invalid(key);
  }
}

std::optional<std::int32_t> CRecordTextReader::i32(const char* key) const {
  return _typed<std::int32_t>(key);
}

std::optional<bool> CRecordTextReader::boolean(const char* key) const {
  return _typed<bool>(key);
}

std::optional<nuv::CTimeT> CRecordTextReader::time(const char* key) const {
  return _typed<nuv::CTimeT>(key);
}

std::optional<unsigned> CRecordTextReader::_number(std::string_view text) {
  const std::string t = nuv::trim(text);
  if (t.empty() || t.size() > 3 || t.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  const unsigned n = static_cast<unsigned>(std::stoul(t));
  return n < 256 ? std::optional<unsigned>(n) : std::nullopt;
}

std::optional<std::uint32_t> CRecordTextReader::lifetime(const char* key) const {
  const std::string* v = m_map.getp(key);
  if (v && nuv::iequals(nuv::trim(*v), "infinite")) return 0xffffffffu;
  return u32(key);
}

std::optional<std::string> CRecordTextReader::name(const char* key) const {
  const std::string* v = m_map.getp(key);
  if (!v) return std::nullopt;
  std::string out = nuv::trim(*v);
  if (out.empty()) fail(nuv::CMessage("The '%1' key is empty.").pushs(key));
  return out;
}

std::optional<std::string> CRecordTextReader::expression(const char* key) const {
  const std::string* v = m_map.getp(key);
  if (!v) return std::nullopt;
  // An opened bracket that is never closed would be kept as a literal.
  const std::string t = nuv::trim(*v);
  if (!t.empty() && t.front() == '[' && t.back() != ']')
    fail(nuv::CMessage("Cannot parse expression '%1' for key '%2': no closing ']'.")
             .pushs(t)
             .pushs(key));
  return *v;
}

std::optional<nuv::CIPAddress> CRecordTextReader::address(std::string_view text, int family) {
  auto a = nuv::CIPAddress::fromText(nuv::trim(text));
  if (!a || a->type() != (family == 4 ? nuv::CIPAddress::ipv4 : nuv::CIPAddress::ipv6))
    return std::nullopt;
  return a;
}

std::optional<CDomainMemberships::Set> CRecordTextReader::domains(
    const CDomainMemberships::Set& current) const {
  if (!has("domains") && !has("domains+") && !has("domains-")) return std::nullopt;
  auto list = [this](const char* key) {
    CDomainMemberships::Set out;
    const std::string* v = m_map.getp(key);
    if (!v) return out;
    for (const std::string& item : nuv::split(*v, ',')) {
      if (nuv::trim(item).empty()) continue;
      std::int32_t id = -1;
      try {
        id = CPrstValueTraits<std::int32_t>::parse(item);
      } catch (const nuv::CException&) {
      }
      if (id < 0) invalid(key);
      out.insert(id);
    }
    return out;
  };
  CDomainMemberships::Set out = has("domains") ? list("domains") : current;
  for (const auto& d : list("domains+")) out.insert(d);
  for (const auto& d : list("domains-")) out.erase(d);
  return out;
}
