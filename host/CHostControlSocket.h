#pragma once
// The host's local change channel: a Unix datagram socket
// "<storage path>/dhcp6d.ctl" (owner only) on which the admin tool names
// each stored object it changed. The host turns every message into a
// CObjectEvent on the system bus, so that the server's threads drop what
// they cached of that object without a restart.
//
// A message is one line "<type> <table> <oid>", for example
// "modify dhcp_policies6 12"; type is "add", "modify" or "del". The line
// "mode <name>" switches the server to "servicing", "learning" or
// "paused" (a CModeEvent). A status query ("query_stats", "query_mode",
// as on the DHCP port) is answered with a datagram to its sender, which
// therefore binds an address of its own (CHostControlSocket::query).
// Datagrams from another user than the host's own (or root) are dropped:
// the file mode keeps others out, the sender's credentials make sure.
// A burst of changes is published at a bounded rate (CControlIntake), so
// that it cannot keep the server's threads from serving.

#include <sys/socket.h>
#include <sys/un.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "extended/CAppEvent.h"
#include "extended/CLogRateLimiter.h"
#include "extended/CLogSink.h"
#include "host/CControlIntake.h"

class CHostControlSocket {
 public:
  using Publish = std::function<void(std::shared_ptr<CAppEvent>)>;
  // Fills the answer to a status query; false when nobody answers it.
  using Answer = std::function<bool(std::string_view query, std::string& answer)>;
  static constexpr const char* kFileName = "dhcp6d.ctl";

  // The socket's path in a storage directory.
  static std::string pathIn(const std::string& storageDir);

  // Binds the socket (replacing a stale file left by a host that died)
  // and starts reading it on a thread of its own; every well-formed
  // message is handed to publish on that thread. Throws when the socket
  // cannot be made or another host already listens on it.
  CHostControlSocket(std::string path, int serverIndex, Publish publish, CLogSink& log,
                     Answer answer = {});
  CHostControlSocket(const CHostControlSocket&) = delete;
  CHostControlSocket& operator=(const CHostControlSocket&) = delete;
  // Stops the thread and removes the socket file.
  ~CHostControlSocket();

  const std::string& path() const { return m_path; }

  // The message naming one object change.
  static std::string message(const std::string& type, const std::string& table, long oid);
  // The message switching the server's mode.
  static std::string modeMessage(const std::string& mode) { return "mode " + mode + "\n"; }
  // The modes an operator may switch to.
  static bool operatorMode(const std::string& mode);
  // The event a message names; null when it is not a well-formed message.
  static std::shared_ptr<CAppEvent> parse(std::string_view text, int serverIndex);

  // The sending side: false when no host listens on path (errno tells
  // why); throws only when the message cannot be sent for another reason.
  static bool send(const std::string& path, const std::string& message);
  // Asks a status query and waits at most timeoutMs for the answer: false
  // when no host listens or none answered in time.
  static bool query(const std::string& path, const std::string& query, std::string& answer,
                    int timeoutMs = 3000);

 private:
  void _run();
  void _receive();
  void _answer(std::string_view query, const sockaddr_un& to, socklen_t toLength);
  void _publish(std::shared_ptr<CAppEvent> event);
  // Publishes the changes that waited for this second.
  void _publishDue();

  std::string m_path;
  int m_serverIndex;
  Publish m_publish;
  Answer m_answer;
  CLogSink& m_log;
  int m_fd = -1;
  int m_wake[2] = {-1, -1};  // written once to stop the reader
  CControlIntake m_intake;
  CLogRateLimiter m_burstLog{1, 60};
  std::thread m_thread;
};
