#include "oodb/CPrstID.h"

std::string CPrstSimpleID::string() const {
  return protoName + ":" + (valid() ? std::to_string(pk) : std::string("none"));
}

std::string CPrstID::string() const {
  std::string out = m_meta.string();
  for (const auto& r : m_rows) out += "," + r.string();
  return out;
}
