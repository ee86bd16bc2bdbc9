#include "plugins/ddns/CDDNSJob.h"

std::string CDDNSJob::describe() const {
  std::string text = action == Action::add ? "adding" : "removing";
  text += records == Records::forward ? " the AAAA records of '" : " the PTR records for '";
  text += update.fqdn + "' in zone '" + update.zone + "'";
  return text;
}
