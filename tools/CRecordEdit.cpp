#include "tools/CRecordEdit.h"

#include "dhcp_database/CRecordTextReader.h"
#include "standard/CException.h"
#include "standard/StringUtil.h"

CRecordEdit CRecordEdit::fromArguments(const std::vector<std::string>& args) {
  CRecordEdit out;
  std::string options;
  for (const std::string& arg : args) {
    const auto eq = arg.find('=');
    if (eq == std::string::npos || eq == 0)
      NUV_THROW("CRecordEdit::fromArguments",
                nuv::CMessage("Cannot read argument '%1'.").pushs(arg),
                nuv::CMessage("Arguments are written key=value."));
    const std::string key = nuv::toLower(nuv::trim(std::string_view(arg).substr(0, eq)));
    std::string value = nuv::trim(std::string_view(arg).substr(eq + 1));
    if (key == "option")
      options.append(value).append("\n");
    else if (key == "-option")
      out.removedOptions.push_back(std::move(value));
    else
      out.keys.set(key, std::move(value));
  }
  // Several options are parsed together as the lines of one set.
  if (!options.empty()) out.keys.set("option", options);
  return out;
}

CRecordEdit CRecordEdit::fromText(std::string_view text) {
  CRecordEdit out;
  out.keys = CRecordTextReader::parse(text);
  if (const std::string* removed = out.keys.getp("-option")) {
    out.removedOptions.push_back(*removed);
    out.keys.erase("-option");
  }
  return out;
}
