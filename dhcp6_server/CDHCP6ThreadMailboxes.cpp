#include "dhcp6_server/CDHCP6ThreadMailboxes.h"

#include <chrono>
#include <thread>

#include "extended/CLFCommandQueueTask.h"

class CDHCP6ThreadMailboxes::CCmdRunPosted : public CAsyncCommand {
 public:
  explicit CCmdRunPosted(CDHCP6ThreadMailboxes& boxes) : m_boxes(boxes) {}
  void execute(long threadIndex) override {
    m_boxes.runMine(threadIndex);
    m_boxes._relayOn();
  }
  std::string name() const override { return "run-posted-work"; }

 private:
  CDHCP6ThreadMailboxes& m_boxes;
};

CDHCP6ThreadMailboxes::CDHCP6ThreadMailboxes(CLFCommandQueueTask& task, std::size_t threadCount)
    : m_task(task) {
  for (std::size_t i = 0; i < threadCount; ++i) m_boxes.push_back(std::make_unique<Mailbox>());
}

CDHCP6ThreadMailboxes::~CDHCP6ThreadMailboxes() = default;

void CDHCP6ThreadMailboxes::post(long threadIndex, std::function<void()> work) {
  if (threadIndex < 0 || static_cast<std::size_t>(threadIndex) >= m_boxes.size()) return;
  {
    Mailbox& box = *m_boxes[static_cast<std::size_t>(threadIndex)];
    std::lock_guard<std::mutex> lock(box.mutex);
    box.work.push_back(std::move(work));
    ++m_waiting;
  }
  _sendRelay();
}

CEventExecutor CDHCP6ThreadMailboxes::executorFor(long threadIndex) {
  return [this, threadIndex](std::function<void()> work) { post(threadIndex, std::move(work)); };
}

void CDHCP6ThreadMailboxes::runMine(long threadIndex) {
  if (threadIndex < 0 || static_cast<std::size_t>(threadIndex) >= m_boxes.size()) return;
  Mailbox& box = *m_boxes[static_cast<std::size_t>(threadIndex)];
  for (;;) {
    std::function<void()> work;
    {
      std::lock_guard<std::mutex> lock(box.mutex);
      if (box.work.empty()) return;
      work = std::move(box.work.front());
      box.work.pop_front();
    }
    --m_waiting;
    work();
  }
}

void CDHCP6ThreadMailboxes::discard(long threadIndex) {
  if (threadIndex < 0 || static_cast<std::size_t>(threadIndex) >= m_boxes.size()) return;
  Mailbox& box = *m_boxes[static_cast<std::size_t>(threadIndex)];
  std::lock_guard<std::mutex> lock(box.mutex);
  m_waiting -= box.work.size();
  box.work.clear();
}

void CDHCP6ThreadMailboxes::_sendRelay() {
  if (m_task.stopRequested()) return;
  try {
    m_task.sendCommand(std::make_shared<CCmdRunPosted>(*this));
  } catch (const nuv::CException&) {
    // A full queue already holds commands that will carry the relay on.
  }
}

// At most one relay is in flight from a leader's turn; it is sent only once
// that leader is out of the reactor, so the next thread gets the lead.
void CDHCP6ThreadMailboxes::_relayOn() {
  if (m_waiting.load() == 0 || m_relayArmed.exchange(true)) return;
  if (!m_task.deferredDispatch(this, nullptr)) {
    m_relayArmed = false;
    _sendRelay();
  }
}

int CDHCP6ThreadMailboxes::dispatch(void*) {
  m_relayArmed = false;
  if (m_waiting.load() == 0) return 0;
  // The addressee may be busy for a while (a datagram, its own start);
  // pace the rounds instead of spinning through the idle threads.
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
  _sendRelay();
  return 0;
}
