#pragma once
// What the handler does with a processed message.

class CDHCP6TransmitCode {
 public:
  enum code : int {
    DROP = 0,      // send nothing; the handler logs the drop
    TRANSMIT = 1,  // send the reply to the client or back through its relays
    IGNORE = 2,    // send nothing, log nothing
  };
};
