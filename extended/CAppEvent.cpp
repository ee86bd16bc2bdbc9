#include "extended/CAppEvent.h"

CAppEvent::CAppEvent(int index, std::string type, std::string cls, std::string instance)
    : evtType(std::move(type)),
      evtClass(std::move(cls)),
      evtInstance(std::move(instance)),
      evtTime(nuv::CTimeT::now()),
      sender(std::this_thread::get_id()),
      serverIndex(index) {}

CAppEvent::CAppEvent(int index, std::string type, std::string cls, long instance)
    : CAppEvent(index, std::move(type), std::move(cls), std::to_string(instance)) {}

void CAppEvent::sm(nuv::CStringMap& out) const {
  out.set("event_type", evtType);
  out.set("event_class", evtClass);
  out.set("event_instance", evtInstance);
  out.set("event_time", evtTime.dateUTC());
  out.set_int64("event_sequence", sequence);
  out.set_int64("event_server", serverIndex);
}
