#include "extended/CMulticastBinder.h"

#include <cerrno>

#include "extended/CInterfaceEnum.h"
#include "extended/CMasterController.h"
#include "standard/StringUtil.h"

namespace nuv {

namespace {

// The non-empty, trimmed items of a comma-separated list.
std::vector<std::string> items(const std::string& list) {
  std::vector<std::string> out;
  for (const std::string& item : split(list, ',')) {
    std::string t = trim(item);
    if (!t.empty()) out.push_back(std::move(t));
  }
  return out;
}

}  // namespace

CMulticastBinder::CMulticastBinder(CMasterController* controller, std::string name)
    : m_controller(controller), m_name(std::move(name)) {}

CMulticastBinder::~CMulticastBinder() {
  closeAll();
}

void CMulticastBinder::createAndJoin(const CEndpoint& unicastEndpoint,
                                     const std::string& listenList,
                                     const std::string& defaultGroups) {
  const std::string list = items(listenList).empty()
                               ? _createLocalInterfaceList(unicastEndpoint, defaultGroups)
                               : listenList;
  m_controller->log().log(sev_info, CMessage("The frontend interface list is: %1.").pushs(list));
  // Bound even when nothing is to be joined: unicast and relayed traffic
  // still arrive.
  CSockDgramMcast& socket = _createAndBind(unicastEndpoint);
  for (const std::string& item : items(list)) {
    const std::size_t slash = item.find('/');
    CEndpoint group(trim(std::string_view(item).substr(0, slash)));
    const std::string interfaceName =
        slash == std::string::npos ? std::string() : trim(std::string_view(item).substr(slash + 1));
    if (group.port() == 0) group.setPort(unicastEndpoint.port());
    socket.join(group, interfaceName);
    m_controller->log().log(sev_info,
                            CMessage("The frontend is listening in group %1 on interface %2.")
                                .pushs(group.string())
                                .pushs(interfaceName));
  }
}

std::string CMulticastBinder::_createLocalInterfaceList(const CEndpoint& unicastEndpoint,
                                                        const std::string& defaultGroups) const {
  const std::vector<std::string> groups = items(defaultGroups);
  if (groups.empty())
    NUV_THROW("CMulticastBinder::_createLocalInterfaceList",
              CMessage("The multicast binder failed to create a local interface list."),
              CMessage("No default multicast groups are defined."));
  const unsigned family = unicastEndpoint.address().type() == CIPAddress::ipv4 ? 4 : 6;
  const std::vector<CInterfaceEnum::Detail> interfaces = CInterfaceEnum::find(family);
  std::string list;
  for (const std::string& group : groups) {
    for (const CInterfaceEnum::Detail& i : interfaces) {
      if (i.isLoopback() || !i.isMulticast()) continue;
      if (!list.empty()) list += ',';
      list += group + '/' + i.name;
    }
  }
  return list;
}

CSockDgramMcast& CMulticastBinder::_createAndBind(const CEndpoint& unicastEndpoint) {
  CSockDgramMcast socket;
  if (socket.open(unicastEndpoint) == -1)
    throw CException(CMessage("The multicast binder failed to bind to local address %1.")
                         .pushs(unicastEndpoint.string()),
                     CMessage(), "extended", "CMulticastBinder::_createAndBind", __FILE__, __LINE__,
                     sev_error, errno);
  socket.receiveBuffer(kReceiveBuffer);
  return m_sockets.emplace_back(socket);
}

void CMulticastBinder::closeAll() {
  for (CSockDgramMcast& socket : m_sockets) socket.close();
  m_sockets.clear();
}

void CMulticastBinder::blockingMode(bool blocking) {
  for (CSockDgramMcast& socket : m_sockets) socket.nonBlocking(!blocking);
}

}  // namespace nuv
