#pragma once
// Worker thread 0 of a server, fed by a loopback client socket: the
// handler reads each datagram the test sends and processes it at once
// (the task cannot defer). Derived fixtures add their plug-ins to host,
// then call startThread(); TearDown stops it.

#include <gtest/gtest.h>
#include <netinet/in.h>

#include <memory>
#include <string>

#include "dhcp6_server/CDHCP6Handler.h"
#include "dhcp6_server/CDHCP6TLS.h"
#include "tests/fixtures/CInlineTask.h"
#include "tests/fixtures/CSQLiteController.h"
#include "tests/fixtures/PrivateNetns.h"

inline void deleteTestPlugin(CPlugin* plugin) {
  delete plugin;
}

// Parameterised (by database engine) for the fixtures that need it; the
// others leave the parameter unused and run on SQLite.
template <class Host = CSQLiteController>
struct CHandlerThreadFixture : ::testing::TestWithParam<std::string> {
  // Opens the plug-ins, starts the thread's state in mode "servicing" and
  // opens both sockets on loopback.
  void startThread() {
    startState();
    ASSERT_EQ(server.open(nuv::CEndpoint("[::1]:0")), 0);
    ASSERT_EQ(client.open(nuv::CEndpoint("[::1]:0")), 0);
    sockaddr_in6 sa{};
    socklen_t len = sizeof sa;
    getsockname(server.get_handle(), reinterpret_cast<sockaddr*>(&sa), &len);
    serverEndpoint = nuv::CEndpoint(sa);
  }
  // Opens the plug-ins and starts the thread's state in mode "servicing",
  // without sockets.
  void startState() {
    host.plugins().openPlugins();
    tls = std::make_unique<CDHCP6TLS>(&task, 0, &host, nullptr);
    tls->init();
    tls->mode(CSystemMode::servicing);
    pool.insert(0, tls.get());
  }
  void TearDown() override {
    if (tls) {
      pool.remove(0);
      tls->close();
      tls.reset();
    }
    server.close();
    client.close();
    host.plugins().shutdownPlugins();
  }

  // Sends bytes from the client and lets the handler read and process them.
  void send(const std::string& bytes) {
    host.logSink.lines.clear();
    ASSERT_EQ(client.send_blocked(bytes.data(), bytes.size(), serverEndpoint),
              static_cast<ssize_t>(bytes.size()));
    handler.udp_input(server);
  }
  // What the server sent back to the client, or "<none>" within the limit.
  std::string receive(long microseconds = 200000) {
    char buf[4096];
    nuv::CEndpoint from;
    const ACE_Time_Value limit(0, microseconds);
    const ssize_t n = client.recvFrom(buf, sizeof buf, from, 0, &limit);
    return n < 0 ? std::string("<none>") : std::string(buf, static_cast<std::size_t>(n));
  }
  bool logged(const std::string& text) const { return host.logSink.contains(text); }

  Host host;
  CInlineTask task;
  CTLSPool<CDHCP6TLS> pool{1};
  std::unique_ptr<CDHCP6TLS> tls;
  CDHCP6Handler handler{&host, &task, pool};
  nuv::CSockDgramMcast server, client;
  nuv::CEndpoint serverEndpoint;
};
