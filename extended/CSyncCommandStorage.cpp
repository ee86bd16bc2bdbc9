#include "extended/CSyncCommandStorage.h"

void CSyncCommandStorage::execute(unsigned mask) {
  for (const auto& command : m_commands)
    if (command->type() & mask) command->execute();
}
