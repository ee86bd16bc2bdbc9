#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <nlohmann/json.hpp>

#include "plugins/system_bus/CSystemBus.h"
#include "plugins/system_bus/CSystemBusPlugin.h"
#include "standard/CException.h"
#include "tests/fixtures/CRecordingController.h"
#include "tests/fixtures/TempPath.h"

namespace {

struct CRecordingSubscriber : CIEventSubscriber {
  void event(const std::shared_ptr<const CAppEvent>& e) override {
    seen.push_back(e->evtClass + "#" + std::to_string(e->sequence));
    threads.push_back(std::this_thread::get_id());
  }
  std::vector<std::string> seen;
  std::vector<std::thread::id> threads;
};

// A queue standing in for a worker thread's command queue.
struct CQueue {
  CEventExecutor executor() {
    return [this](std::function<void()> f) { items.push_back(std::move(f)); };
  }
  void drain() {
    while (!items.empty()) {
      auto f = std::move(items.front());
      items.pop_front();
      f();
    }
  }
  std::deque<std::function<void()>> items;
};

// Takes events as "read this class again": the later event stands for the
// earlier, except that two pools merge into an event naming none (all).
struct CMergingSubscriber : CRecordingSubscriber {
  std::string mergeKey(const CAppEvent& e) const override {
    return e.evtClass == "skip" ? std::string() : e.evtClass;
  }
  std::shared_ptr<const CAppEvent> merge(
      const std::shared_ptr<const CAppEvent>& waiting,
      const std::shared_ptr<const CAppEvent>& later) const override {
    if (later->evtClass != "pool" || waiting->evtInstance == later->evtInstance) return later;
    return std::make_shared<CAppEvent>(0, later->evtType, later->evtClass);
  }
  void event(const std::shared_ptr<const CAppEvent>& e) override {
    instances.push_back(e->evtClass + ":" + e->evtInstance);
  }
  std::vector<std::string> instances;
};

std::shared_ptr<CAppEvent> ev(const char* cls) {
  return std::make_shared<CAppEvent>(3, "control", cls);
}

std::vector<std::string> lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> out;
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

}  // namespace

TEST(CSystemBusTest, NumbersEventsAndDeliversOnlyWantedClasses) {
  CSystemBus bus;
  CRecordingSubscriber all, config;
  bus.subscribe(&all, {});
  bus.subscribe(&config, {"config", "mode"});
  EXPECT_EQ(bus.publish(ev("config"), 0), 1);
  EXPECT_EQ(bus.publish(ev("address_lease"), 0), 2);
  EXPECT_EQ(bus.publish(ev("mode"), 0), 3);
  EXPECT_EQ(all.seen, (std::vector<std::string>{"config#1", "address_lease#2", "mode#3"}));
  EXPECT_EQ(config.seen, (std::vector<std::string>{"config#1", "mode#3"}));
}

TEST(CSystemBusTest, ExecutorDeliversOnTheSubscribersThreadAndUnsubscribeStopsQueuedOnes) {
  CSystemBus bus;
  CRecordingSubscriber sub;
  CQueue queue;
  bus.subscribe(&sub, {"config"}, queue.executor());
  std::thread publisher([&] { bus.publish(ev("config"), 0); });
  publisher.join();
  EXPECT_TRUE(sub.seen.empty());  // nothing ran on the publisher's thread
  queue.drain();
  ASSERT_EQ(sub.threads.size(), 1u);
  EXPECT_EQ(sub.threads[0], std::this_thread::get_id());

  bus.publish(ev("config"), 0);
  bus.unsubscribe(&sub);
  queue.drain();  // queued before the unsubscribe, but must not arrive
  EXPECT_EQ(sub.seen.size(), 1u);
}

TEST(CSystemBusTest, HistoryIsBoundedAndOldestFirst) {
  CSystemBus bus;
  bus.configure("", 2);
  for (int i = 0; i < 5; ++i) bus.publish(ev("config"), 0);
  const auto h = bus.history();
  ASSERT_EQ(h.size(), 2u);
  EXPECT_EQ(h[0]->sequence, 4);
  EXPECT_EQ(h[1]->sequence, 5);
  bus.configure("", 0);
  bus.publish(ev("config"), 0);
  EXPECT_TRUE(bus.history().empty());
}

TEST(CSystemBusTest, AuditFileGetsOneJsonLinePerLeaseEvent) {
  const std::string path = tempPath("bus_audit.jsonl");
  std::remove(path.c_str());
  CSystemBus bus;
  bus.configure(path, 10);
  bus.publish(ev("config"), 0);
  auto lease = std::make_shared<CAppEvent>(3, "obtain", "address_lease", 17L);
  bus.publish(lease, 0);
  bus.publish(std::make_shared<CAppEvent>(3, "renew", "network_lease", 18L), 0);
  const auto text = lines(path);
  ASSERT_EQ(text.size(), 2u);
  const auto first = nlohmann::json::parse(text[0]);
  EXPECT_EQ(first["event_type"], "obtain");
  EXPECT_EQ(first["event_class"], "address_lease");
  EXPECT_EQ(first["event_instance"], "17");
  EXPECT_EQ(first["event_sequence"], "2");
  EXPECT_EQ(first["event_server"], "3");
  EXPECT_EQ(nlohmann::json::parse(text[1])["event_type"], "renew");
  EXPECT_THROW(bus.configure("/nonexistent-dir/audit", 10), nuv::CException);
}

TEST(CSystemBusTest, PluginFollowsConfigurationEvents) {
  CRecordingController host;
  const std::string first = tempPath("bus_first.jsonl");
  const std::string second = tempPath("bus_second.jsonl");
  std::remove(first.c_str());
  std::remove(second.c_str());
  host.mutableConfig().set("system.events.file", first);
  CSystemBusPlugin plugin;
  plugin.controller(&host);
  ASSERT_EQ(plugin.openPlugin(), 0);
  auto bus = plugin.createBus("test");
  EXPECT_EQ(bus, plugin.createBus("other"));  // one bus for everyone
  bus->publish(std::make_shared<CAppEvent>(0, "obtain", "address_lease"), 0);
  host.mutableConfig().set("system.events.file", second);
  bus->publish(ev("config"), 0);
  bus->publish(std::make_shared<CAppEvent>(0, "release", "address_lease"), 0);
  EXPECT_EQ(lines(first).size(), 1u);
  EXPECT_EQ(lines(second).size(), 1u);
  // A broken new setting is reported and the current file kept.
  host.mutableConfig().set("system.events.file", "/nonexistent-dir/x");
  bus->publish(ev("config"), 0);
  EXPECT_TRUE(host.logSink.contains("Cannot open event file '/nonexistent-dir/x'."));
  bus->publish(std::make_shared<CAppEvent>(0, "renew", "address_lease"), 0);
  EXPECT_EQ(lines(second).size(), 2u);
  plugin.closePlugin();
}

TEST(CSystemBusTest, BurstOfMergeableEventsQueuesOneDeliveryPerSubscriber) {
  CSystemBus bus;
  CMergingSubscriber merging;
  CRecordingSubscriber plain;
  CQueue mergingQueue, plainQueue;
  bus.subscribe(&merging, {}, mergingQueue.executor());
  bus.subscribe(&plain, {}, plainQueue.executor());
  // What 20 busy senders on the control socket would publish.
  for (long i = 0; i < 10000; ++i) {
    bus.publish(std::make_shared<CAppEvent>(0, "modify", "pool", i % 7), 0);
    bus.publish(std::make_shared<CAppEvent>(0, "modify", "policy", 5L), 0);
  }
  bus.publish(std::make_shared<CAppEvent>(0, "control", "mode", "paused"), 0);
  bus.publish(std::make_shared<CAppEvent>(0, "control", "mode", "servicing"), 0);
  bus.publish(ev("skip"), 0);
  bus.publish(ev("skip"), 0);
  // The subscriber's thread has three queued jobs, not 20,004: one for the
  // merged events and one per event that does not merge.
  EXPECT_EQ(mergingQueue.items.size(), 3u);
  EXPECT_EQ(plainQueue.items.size(), 20004u);  // a subscriber that does not merge loses nothing
  mergingQueue.drain();
  // No change is lost: every class is read again once, the last mode wins.
  EXPECT_EQ(merging.instances,
            (std::vector<std::string>{"pool:", "policy:5", "mode:servicing", "skip:", "skip:"}));

  // An event arriving once the waiting ones were taken queues a delivery of its own.
  bus.publish(std::make_shared<CAppEvent>(0, "modify", "pool", 3L), 0);
  ASSERT_EQ(mergingQueue.items.size(), 1u);
  bus.unsubscribe(&merging);
  mergingQueue.drain();
  EXPECT_EQ(merging.instances.size(), 5u);
}

TEST(CSystemBusTest, EventsPublishedWhileADeliveryRunsAreDeliveredAfterIt) {
  CSystemBus bus;
  struct CRepublishing : CMergingSubscriber {
    CSystemBus* bus = nullptr;
    void event(const std::shared_ptr<const CAppEvent>& e) override {
      CMergingSubscriber::event(e);
      // A change made while the thread rereads must be read again later.
      if (instances.size() == 1)
        bus->publish(std::make_shared<CAppEvent>(0, "modify", "pool", 9L), 0);
    }
  } sub;
  sub.bus = &bus;
  CQueue queue;
  bus.subscribe(&sub, {}, queue.executor());
  bus.publish(std::make_shared<CAppEvent>(0, "modify", "pool", 1L), 0);
  queue.drain();
  EXPECT_EQ(sub.instances, (std::vector<std::string>{"pool:1", "pool:9"}));
}
