#include "plugins/metrics/CPrometheusText.h"

#include <cmath>
#include <cstdio>

namespace {

bool nameChar(char c, bool first) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' ||
         (!first && c >= '0' && c <= '9');
}

// Backslashes and line feeds, and in label values also double quotes.
std::string escape(const std::string& text, bool quotes) {
  std::string out;
  for (char c : text) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\n')
      out += "\\n";
    else if (c == '"' && quotes)
      out += "\\\"";
    else
      out += c;
  }
  return out;
}

std::string number(double v) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v > 0 ? "+Inf" : "-Inf";
  char text[64];
  // Whole numbers (every counter, a /64's size) in full, as the double holds them.
  if (std::floor(v) == v && std::fabs(v) < 1e21)
    std::snprintf(text, sizeof text, "%.0f", v);
  else
    std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}

}  // namespace

std::string CPrometheusText::metricName(const std::string& raw) {
  std::string out;
  if (raw.empty() || (raw[0] >= '0' && raw[0] <= '9')) out += '_';
  for (char c : raw) out += nameChar(c, out.empty()) ? c : '_';
  return out;
}

std::string CPrometheusText::counterName(const std::string& dotted) {
  return metricName("dhcp6d_" + dotted + "_total");
}

void CPrometheusText::family(const std::string& name, const char* type, const std::string& help) {
  m_family = metricName(name);
  m_text += "# HELP " + m_family + " " + escape(help, false) + "\n";
  m_text += "# TYPE " + m_family + " " + type + "\n";
}

void CPrometheusText::sample(double value, const Labels& labels) {
  m_text += m_family;
  if (!labels.empty()) {
    m_text += '{';
    for (std::size_t i = 0; i < labels.size(); ++i) {
      if (i > 0) m_text += ',';
      m_text += metricName(labels[i].first) + "=\"" + escape(labels[i].second, true) + '"';
    }
    m_text += '}';
  }
  m_text += ' ' + number(value) + '\n';
}
