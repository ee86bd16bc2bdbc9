#pragma once
// The host's list of running worker threads, for status and diagnostics.

#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CTaskRegistry {
 public:
  struct Entry {
    std::string name;
    std::thread::id thread;
  };

  void registerTask(const std::string& name, std::thread::id thread = std::this_thread::get_id());
  void deregisterTask(std::thread::id thread = std::this_thread::get_id());
  std::vector<Entry> tasks() const;
  std::size_t size() const;

 private:
  mutable std::mutex m_mutex;
  std::vector<Entry> m_tasks;
};
