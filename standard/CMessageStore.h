#pragma once
// Translations of message templates, keyed by their US English text.
//
// Locale file layout: records separated by one or more blank lines; each
// line of a record is "field: value" (the first ':' separates); lines
// starting with '#' are comments. Fields: "id" (optional number),
// "description" (optional), "en_US" (required: the lookup key) and one field
// per further locale, named like "de_DE". A value may continue on following
// lines that start with a blank; the continuation is joined with one space.

#include <istream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "standard/CMessage.h"
#include "standard/CStringMap.h"

namespace nuv {

class CMessageStore {
 public:
  struct Record {
    int id = -1;
    std::string description;
    std::map<std::string, std::string> templates;  // locale -> template
  };

  // Only these locales are kept when records are read; "en_US" always is.
  void setLocales(const std::vector<std::string>& locales);
  const std::set<std::string>& locales() const { return m_locales; }

  void load(const std::string& path);
  void load(std::istream& in);
  std::size_t size() const { return m_records.size(); }

  // The message with its template translated for locale, when a translation exists.
  template <class Message>
  Message tr(const Message& message, const std::string& locale = "en_US") const {
    const std::string* t = lookup(message.msg(), locale);
    if (!t) return message;
    Message out = message;
    out.setMsg(*t);
    return out;
  }
  const std::string* lookup(const std::string& english, const std::string& locale) const;

 private:
  void _processRecord(const CStringMap& fields, int firstLine);

  std::set<std::string> m_locales{"en_US"};
  std::map<std::string, Record> m_records;  // keyed by the en_US template
};

}  // namespace nuv
