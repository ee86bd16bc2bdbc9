#pragma once
// The side commands of the packet in progress, in the order they were
// queued. execute(mask) runs those whose type shares a bit with mask and
// keeps them all, so that the failure path can still run its share after a
// later step failed; clear() drops them. A failure of one command ends the
// run and reaches the caller.

#include <memory>
#include <vector>

#include "extended/CSyncCommand.h"

class CSyncCommandStorage {
 public:
  void append(std::unique_ptr<CSyncCommand> command) { m_commands.push_back(std::move(command)); }
  void execute(unsigned mask);
  void clear() { m_commands.clear(); }
  std::size_t size() const { return m_commands.size(); }

 private:
  std::vector<std::unique_ptr<CSyncCommand>> m_commands;
};
