#pragma once
// A side command queued while a packet is processed and run after its
// transaction, chosen by type bits: 1 after commit and after failure, 2
// only after commit, 4 only after failure.

class CSyncCommand {
 public:
  enum type_bits : unsigned { always = 1, onCommit = 2, onFailure = 4 };

  explicit CSyncCommand(unsigned type) : m_type(type) {}
  virtual ~CSyncCommand() = default;

  unsigned type() const { return m_type; }
  virtual void execute() = 0;

 private:
  unsigned m_type;
};
