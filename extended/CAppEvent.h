#pragma once
// An application event carried by the system bus. Subscribers receive its
// string-map form; derived events add their own keys.

#include <cstdint>
#include <string>
#include <thread>

#include "standard/CStringMap.h"
#include "standard/CTimeT.h"

class CAppEvent {
 public:
  // Generic classes every bus knows.
  static constexpr const char* kClassConfig = "config";
  static constexpr const char* kClassMode = "mode";
  static constexpr const char* kClassRule = "rule";

  CAppEvent(int serverIndex, std::string type, std::string cls, std::string instance = {});
  CAppEvent(int serverIndex, std::string type, std::string cls, long instance);
  virtual ~CAppEvent() = default;

  std::string evtType;
  std::string evtClass;
  std::string evtInstance;
  nuv::CTimeT evtTime;
  std::int64_t sequence = 0;  // set by the bus
  std::thread::id sender;
  int serverIndex = 0;

  // Writes event_type, event_class, event_instance, event_time,
  // event_sequence and event_server; derived events add theirs.
  virtual void sm(nuv::CStringMap& out) const;
  nuv::CStringMap sm() const {
    nuv::CStringMap out;
    sm(out);
    return out;
  }
};

// The operator switched the server's mode: the instance is the new mode's name.
class CModeEvent : public CAppEvent {
 public:
  CModeEvent(int serverIndex, const std::string& modeName)
      : CAppEvent(serverIndex, "control", kClassMode, modeName) {}
};

// A stored object changed: class is its table ("dhcp_apools6"), type is
// "add", "modify" or "del", instance its object identifier.
class CObjectEvent : public CAppEvent {
 public:
  CObjectEvent(int serverIndex, std::string type, std::string table, long oid)
      : CAppEvent(serverIndex, std::move(type), std::move(table), oid) {}
};
