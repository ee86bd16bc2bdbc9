#include "host/CHostControlSocket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>

#include "extended/CMasterController.h"
#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace {

constexpr std::size_t kMaxMessage = 512;
constexpr std::size_t kMaxTable = 64;
// Every counter on a line of its own fits many times over.
constexpr std::size_t kMaxAnswer = 1 << 16;

sockaddr_un unixAddress(const std::string& path) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof addr.sun_path)
    NUV_THROW(
        "CHostControlSocket::unixAddress",
        nuv::CMessage("Cannot use control socket '%1'.").pushs(path),
        nuv::CMessage("The path is empty or longer than %1 bytes.").push(sizeof addr.sun_path - 1));
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  return addr;
}

bool validTable(std::string_view table) {
  if (table.empty() || table.size() > kMaxTable) return false;
  for (char c : table)
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) return false;
  return true;
}

std::int64_t steadySecond() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Until the next second of the steady clock begins.
int msToNextSecond() {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count();
  return static_cast<int>(1000 - ms % 1000) + 1;
}

// A host still reading the file answers a connect; a stale file refuses it.
bool someoneListens(const sockaddr_un& addr) {
  const int probe = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (probe < 0) return false;
  const bool listening = connect(probe, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
  close(probe);
  return listening;
}

}  // namespace

std::string CHostControlSocket::pathIn(const std::string& storageDir) {
  return storageDir + "/" + kFileName;
}

std::string CHostControlSocket::message(const std::string& type, const std::string& table,
                                        long oid) {
  return type + " " + table + " " + std::to_string(oid) + "\n";
}

bool CHostControlSocket::operatorMode(const std::string& mode) {
  return mode == "servicing" || mode == "learning" || mode == "paused";
}

std::shared_ptr<CAppEvent> CHostControlSocket::parse(std::string_view text, int serverIndex) {
  std::vector<std::string> words;
  for (const std::string& w : nuv::split(nuv::trim(text), ' '))
    if (!w.empty()) words.push_back(w);
  if (words.size() == 2 && words[0] == "mode" && operatorMode(words[1]))
    return std::make_shared<CModeEvent>(serverIndex, words[1]);
  if (words.size() != 3) return nullptr;
  const std::string& type = words[0];
  if (type != "add" && type != "modify" && type != "del") return nullptr;
  if (!validTable(words[1])) return nullptr;
  const std::string& oid = words[2];
  if (oid.empty() || oid.size() > 18 || oid.find_first_not_of("0123456789") != std::string::npos)
    return nullptr;
  return std::make_shared<CObjectEvent>(serverIndex, type, words[1], std::stol(oid));
}

bool CHostControlSocket::send(const std::string& path, const std::string& text) {
  const sockaddr_un addr = unixAddress(path);
  const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0)
    NUV_THROW_ERRNO("CHostControlSocket::send",
                    nuv::CMessage("Cannot send to control socket '%1'.").pushs(path), errno);
  const ssize_t n = sendto(fd, text.data(), text.size(), 0,
                           reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
  const int err = errno;
  close(fd);
  if (n >= 0) return true;
  errno = err;
  if (err == ENOENT || err == ECONNREFUSED) return false;
  NUV_THROW_ERRNO("CHostControlSocket::send",
                  nuv::CMessage("Cannot send to control socket '%1'.").pushs(path), err);
}

CHostControlSocket::CHostControlSocket(std::string path, int serverIndex, Publish publish,
                                       CLogSink& log, Answer answer)
    : m_path(std::move(path)),
      m_serverIndex(serverIndex),
      m_publish(std::move(publish)),
      m_answer(std::move(answer)),
      m_log(log) {
  const sockaddr_un addr = unixAddress(m_path);
  const auto fail = [this](int err) {
    if (m_fd >= 0) close(m_fd);
    NUV_THROW_ERRNO("CHostControlSocket::CHostControlSocket",
                    nuv::CMessage("Cannot listen on control socket '%1'.").pushs(m_path), err);
  };
  if (someoneListens(addr))
    NUV_THROW("CHostControlSocket::CHostControlSocket",
              nuv::CMessage("Cannot listen on control socket '%1'.").pushs(m_path),
              nuv::CMessage("Another host is listening on it."));
  unlink(m_path.c_str());
  m_fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (m_fd < 0) fail(errno);
  // The socket inode's mode is the file's mode at bind (less the umask), so
  // the file never exists with wider rights; chmod after bind in case the
  // kernel ignored it.
  fchmod(m_fd, S_IRUSR | S_IWUSR);
  if (bind(m_fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) fail(errno);
  if (chmod(m_path.c_str(), S_IRUSR | S_IWUSR) != 0) {
    const int err = errno;
    unlink(m_path.c_str());
    fail(err);
  }
  const int on = 1;
  setsockopt(m_fd, SOL_SOCKET, SO_PASSCRED, &on, sizeof on);
  if (pipe2(m_wake, O_CLOEXEC) != 0) {
    const int err = errno;
    unlink(m_path.c_str());
    fail(err);
  }
  m_thread = std::thread([this] { _run(); });
}

CHostControlSocket::~CHostControlSocket() {
  const char stop = 1;
  if (write(m_wake[1], &stop, 1) < 0) {
    // The reader also stops when the pipe breaks below.
  }
  if (m_thread.joinable()) m_thread.join();
  close(m_wake[0]);
  close(m_wake[1]);
  close(m_fd);
  unlink(m_path.c_str());
}

void CHostControlSocket::_answer(std::string_view query, const sockaddr_un& to,
                                 socklen_t toLength) {
  std::string answer;
  if (!m_answer || !m_answer(query, answer)) answer = "unknown_query\n";
  // A sender without an address of its own cannot be answered.
  if (toLength <= sizeof(sa_family_t)) return;
  if (sendto(m_fd, answer.data(), answer.size(), MSG_DONTWAIT,
             reinterpret_cast<const sockaddr*>(&to), toLength) < 0)
    m_log.log(nuv::sev_warning,
              nuv::CMessage("Cannot answer a status query on the control socket."), errno);
}

bool CHostControlSocket::query(const std::string& path, const std::string& text,
                               std::string& answer, int timeoutMs) {
  const sockaddr_un addr = unixAddress(path);
  const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0)
    NUV_THROW_ERRNO("CHostControlSocket::query",
                    nuv::CMessage("Cannot query control socket '%1'.").pushs(path), errno);
  // An abstract address the kernel picks: the host answers to it.
  const sa_family_t family = AF_UNIX;
  bool ok = bind(fd, reinterpret_cast<const sockaddr*>(&family), sizeof family) == 0 &&
            sendto(fd, text.data(), text.size(), 0, reinterpret_cast<const sockaddr*>(&addr),
                   sizeof addr) >= 0;
  if (ok) {
    pollfd pfd{fd, POLLIN, 0};
    ok = poll(&pfd, 1, timeoutMs) == 1;
  }
  if (ok) {
    std::string buffer(kMaxAnswer, '\0');
    const ssize_t n = recv(fd, buffer.data(), buffer.size(), 0);
    ok = n >= 0;
    if (ok) answer.assign(buffer.data(), static_cast<std::size_t>(n));
  }
  close(fd);
  return ok;
}

void CHostControlSocket::_run() {
  pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
  for (;;) {
    const int timeout = m_intake.waiting() ? msToNextSecond() : -1;
    const int ready = poll(fds, 2, timeout);
    if (ready < 0 && errno != EINTR) return;
    if (ready > 0 && fds[1].revents) return;
    if (ready > 0 && (fds[0].revents & POLLIN)) _receive();
    _publishDue();
  }
}

void CHostControlSocket::_publishDue() {
  if (!m_intake.waiting()) return;
  const auto due = m_intake.due(steadySecond());
  if (due.empty()) return;
  m_log.log(
      nuv::sev_info,
      nuv::CMessage("Announcing %1 changes that waited; %2 repeated changes merged into them.")
          .push(static_cast<unsigned long>(due.size()))
          .push(m_intake.takeMerged()));
  for (const auto& event : due) _publish(event);
}

void CHostControlSocket::_publish(std::shared_ptr<CAppEvent> event) {
  try {
    m_publish(std::move(event));
  } catch (const nuv::CException& e) {
    m_log.log(nuv::sev_error, nuv::CMessage(e.printableError()));
  }
}

void CHostControlSocket::_receive() {
  char data[kMaxMessage];
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
  iovec iov{data, sizeof data};
  sockaddr_un from{};
  msghdr msg{};
  msg.msg_name = &from;
  msg.msg_namelen = sizeof from;
  msg.msg_iov = &iov;
  msg.msg_iovlen = 1;
  msg.msg_control = control;
  msg.msg_controllen = sizeof control;
  const ssize_t n = recvmsg(m_fd, &msg, MSG_DONTWAIT);
  if (n < 0) return;
  const ucred* cred = nullptr;
  for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c))
    if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_CREDENTIALS)
      cred = reinterpret_cast<const ucred*>(CMSG_DATA(c));
  if (!cred || (cred->uid != geteuid() && cred->uid != 0)) {
    m_log.log(nuv::sev_warning, nuv::CMessage("Ignoring a control message from user %1.")
                                    .push(cred ? static_cast<long>(cred->uid) : -1L));
    return;
  }
  const std::string_view text(data, static_cast<std::size_t>(n));
  const std::string line = nuv::trim(text);
  if (CMasterController::isStatusQuery(line.data(), line.size())) {
    _answer(line, from, msg.msg_namelen);
    return;
  }
  auto event = (msg.msg_flags & MSG_TRUNC) ? nullptr : parse(text, m_serverIndex);
  if (!event) {
    m_log.log(nuv::sev_warning, nuv::CMessage("Ignoring a malformed control message '%1'.")
                                    .pushs(nuv::trim(text.substr(0, 80))));
    return;
  }
  event = m_intake.admit(std::move(event), steadySecond());
  if (!event) {
    if (m_burstLog.admit(std::time(nullptr)))
      m_log.log(nuv::sev_warning,
                nuv::CMessage("Control messages arrive faster than %1 a second; the changes are "
                              "merged and announced once a second.")
                    .push(CControlIntake::kPerSecond));
    return;
  }
  // A mode switch is logged by whoever switches.
  if (event->evtClass != CAppEvent::kClassMode)
    m_log.log(nuv::sev_info, nuv::CMessage("Announcing '%1' of %2 object %3.")
                                 .pushs(event->evtType)
                                 .pushs(event->evtClass)
                                 .pushs(event->evtInstance));
  _publish(std::move(event));
}
