#pragma once
// A unit of work handed to a command-queue task from any thread; it runs on
// whichever worker thread services the queue next.

#include <memory>
#include <string>

class CAsyncCommand {
 public:
  virtual ~CAsyncCommand() = default;
  // threadIndex: the index of the worker thread running the command.
  virtual void execute(long threadIndex) = 0;
  // For failure messages.
  virtual std::string name() const = 0;
};

using CAsyncCommandPtr = std::shared_ptr<CAsyncCommand>;
