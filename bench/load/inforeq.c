// A DHCPv6 Information-request load generator (perfdhcp sends none):
// every request carries a client identifier of its own and a transaction
// id that finds its slot again when the Reply comes back, so the latency of
// each answered request is known. Either a fixed offered rate (-r) or a
// closed loop keeping N requests outstanding (-n).
//
//   inforeq -i IFNAME [-s SERVER] (-r RATE | -n OUTSTANDING) [-d SECONDS]
//
// It prints one line of key=value figures: sent, answered, drops_pct (no
// Reply within the time-out), rate (answers a second), p50_us, p99_us.
#define _GNU_SOURCE
#include <arpa/inet.h>
#include <errno.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

enum { kSlots = 1 << 20, kTimeoutUs = 2000000 };

struct slot {
  uint64_t sentUs;  // 0: free
};

static struct slot slots[kSlots];
static uint32_t* latencies;
static size_t answered;

static uint64_t nowUs(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (uint64_t)t.tv_sec * 1000000u + (uint64_t)t.tv_nsec / 1000u;
}

static void usage(void) {
  fprintf(stderr, "usage: inforeq -i IFNAME [-s SERVER] (-r RATE | -n OUTSTANDING) [-d SECONDS]\n");
  exit(2);
}

// Information-request: type 11, xid, Client Identifier (DUID-LL with a
// MAC made from the sequence number), Elapsed Time, Option Request for DNS
// servers and the domain search list.
static size_t buildRequest(uint8_t* b, uint32_t seq, uint32_t base) {
  const uint32_t xid = seq % kSlots;
  size_t n = 0;
  b[n++] = 11;
  b[n++] = (uint8_t)(xid >> 16);
  b[n++] = (uint8_t)(xid >> 8);
  b[n++] = (uint8_t)xid;
  const uint8_t clientId[] = {0,
                              1,
                              0,
                              10,
                              0,
                              3,
                              0,
                              1,
                              0x02,
                              (uint8_t)(base >> 8),
                              (uint8_t)base,
                              (uint8_t)(seq >> 16),
                              (uint8_t)(seq >> 8),
                              (uint8_t)seq};
  memcpy(b + n, clientId, sizeof clientId);
  n += sizeof clientId;
  const uint8_t rest[] = {0, 8, 0, 2, 0, 0, 0, 6, 0, 4, 0, 23, 0, 24};
  memcpy(b + n, rest, sizeof rest);
  return n + sizeof rest;
}

static int compareU32(const void* a, const void* b) {
  const uint32_t x = *(const uint32_t*)a, y = *(const uint32_t*)b;
  return x < y ? -1 : x > y;
}

// Every datagram waiting on the socket; a Reply (type 7) whose slot is in
// use completes that request.
static void drain(int fd, size_t* outstanding) {
  uint8_t buf[1500];
  for (;;) {
    const ssize_t len = recv(fd, buf, sizeof buf, MSG_DONTWAIT);
    if (len < 0) return;
    if (len < 4 || buf[0] != 7) continue;
    const uint32_t xid = ((uint32_t)buf[1] << 16) | ((uint32_t)buf[2] << 8) | buf[3];
    struct slot* s = &slots[xid % kSlots];
    if (!s->sentUs) continue;
    latencies[answered++] = (uint32_t)(nowUs() - s->sentUs);
    s->sentUs = 0;
    --*outstanding;
  }
}

// Requests unanswered for longer than the time-out give up their slots.
static void expire(uint64_t now, uint32_t seq, size_t* outstanding) {
  static uint32_t oldest = 0;
  while (oldest < seq) {
    struct slot* s = &slots[oldest % kSlots];
    if (s->sentUs && now - s->sentUs < kTimeoutUs) return;
    if (s->sentUs) {
      s->sentUs = 0;
      --*outstanding;
    }
    ++oldest;
  }
}

int main(int argc, char** argv) {
  const char* ifname = NULL;
  const char* server = "ff02::1:2";
  double rate = 0, seconds = 10;
  long window = 0;
  for (int opt; (opt = getopt(argc, argv, "i:s:r:n:d:")) != -1;) {
    switch (opt) {
      case 'i':
        ifname = optarg;
        break;
      case 's':
        server = optarg;
        break;
      case 'r':
        rate = atof(optarg);
        break;
      case 'n':
        window = atol(optarg);
        break;
      case 'd':
        seconds = atof(optarg);
        break;
      default:
        usage();
    }
  }
  if (!ifname || (rate <= 0) == (window <= 0) || seconds <= 0) usage();

  struct sockaddr_in6 to = {.sin6_family = AF_INET6, .sin6_port = htons(547)};
  if (inet_pton(AF_INET6, server, &to.sin6_addr) != 1) usage();
  to.sin6_scope_id = if_nametoindex(ifname);
  if (!to.sin6_scope_id) {
    perror(ifname);
    return 1;
  }
  const int fd = socket(AF_INET6, SOCK_DGRAM, 0);
  struct sockaddr_in6 me = {.sin6_family = AF_INET6, .sin6_port = htons(546)};
  const int big = 4 << 20;
  setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &big, sizeof big);
  setsockopt(fd, SOL_SOCKET, SO_BINDTODEVICE, ifname, (socklen_t)strlen(ifname));
  if (bind(fd, (struct sockaddr*)&me, sizeof me) != 0) {
    perror("bind [::]:546");
    return 1;
  }
  const size_t most = (size_t)((rate > 0 ? rate : 200000) * (seconds + 3)) + 16;
  latencies = calloc(most, sizeof *latencies);
  if (!latencies) return 1;

  srand((unsigned)getpid());
  const uint32_t base = (uint32_t)rand();
  uint8_t request[64];
  uint32_t seq = 0;
  size_t outstanding = 0;
  const uint64_t start = nowUs(), stop = start + (uint64_t)(seconds * 1e6);
  for (uint64_t now = start; now < stop + kTimeoutUs; now = nowUs()) {
    if (now >= stop && outstanding == 0) break;
    // Due now: by the offered rate, or enough to fill the window again.
    size_t due = 0;
    if (now < stop) {
      if (rate > 0)
        due = (size_t)((double)(now - start) * rate / 1e6) + 1 - seq;
      else if (outstanding < (size_t)window)
        due = (size_t)window - outstanding;
    }
    for (; due > 0 && seq < most; --due, ++seq) {
      struct slot* s = &slots[seq % kSlots];
      if (s->sentUs) --outstanding;  // wrapped onto a request never answered
      const size_t len = buildRequest(request, seq, base);
      s->sentUs = nowUs();
      if (sendto(fd, request, len, 0, (struct sockaddr*)&to, sizeof to) < 0 && errno != ENOBUFS) {
        perror("sendto");
        return 1;
      }
      ++outstanding;
    }
    struct pollfd p = {.fd = fd, .events = POLLIN};
    poll(&p, 1, rate > 0 ? 1 : 10);
    drain(fd, &outstanding);
    expire(nowUs(), seq, &outstanding);
  }
  const double took = (double)(nowUs() - start) / 1e6;
  qsort(latencies, answered, sizeof *latencies, compareU32);
  const double dropped = seq ? 100.0 * (double)(seq - answered) / seq : 0;
  printf("sent=%u answered=%zu drops_pct=%.2f rate=%.0f p50_us=%u p99_us=%u\n", seq, answered,
         dropped, (double)answered / (took < seconds ? took : seconds),
         answered ? latencies[answered / 2] : 0, answered ? latencies[answered * 99 / 100] : 0);
  return 0;
}
