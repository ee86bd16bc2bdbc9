#pragma once
// A DDNS plug-in for tests: every update handed to it is kept as a line
// "<action> <fqdn> zone=<zone> ttl=<ttl> server=<endpoint> auth=<0|1>
// <address>...". The address manager's reclaimer takes it as its
// background service.

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "dhcp_server_common/CIDHCPDDNS.h"
#include "extended/CPlugin.h"

class CRecordingDDNS : public CPlugin, public CIDHCPDDNSFactory, public CIDHCPDDNS {
 public:
  std::string pluginInterface() const override { return "CIDHCPDDNSFactory,CPlugin"; }
  std::shared_ptr<CIDHCPDDNS> createDDNS(CIDHCPContext&) override {
    // The plug-in outlives every context that uses it.
    return createBackgroundDDNS();
  }
  std::shared_ptr<CIDHCPDDNS> createBackgroundDDNS() override {
    return std::shared_ptr<CIDHCPDDNS>(std::shared_ptr<CIDHCPDDNS>(), this);
  }
  void updateARecord(const CDDNSUpdate& u) override { _keep("add-aaaa", u); }
  void updatePTRRecord(const CDDNSUpdate& u) override { _keep("add-ptr", u); }
  void deleteARecord(const CDDNSUpdate& u) override { _keep("delete-aaaa", u); }
  void deletePTRRecord(const CDDNSUpdate& u) override { _keep("delete-ptr", u); }

  // When set, what it gives is appended to each line (on the caller's thread).
  std::function<std::string(const CDDNSUpdate&)> remark;

  std::vector<std::string> taken() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::move(m_lines);
  }

 private:
  void _keep(const char* action, const CDDNSUpdate& u) {
    std::string line = std::string(action) + " " + u.fqdn + " zone=" + u.zone +
                       " ttl=" + std::to_string(u.ttl) + " server=" + u.server.string() +
                       " auth=" + (u.authoritative ? "1" : "0");
    for (const auto& a : u.addresses) line += " " + a.string();
    if (remark) line += remark(u);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.push_back(std::move(line));
  }
  std::mutex m_mutex;
  std::vector<std::string> m_lines;
};
