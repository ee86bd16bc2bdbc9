// The two unmangled entries the host looks up with dlsym.
#include <ace/Init_ACE.h>

#include "dhcp6_server/CDHCP6Server.h"

extern "C" CPlugin* pluginCreator() {
  ACE::init();
  return new CDHCP6Server;
}

extern "C" void pluginDestroyer(CPlugin* plugin) {
  delete plugin;
  ACE::fini();
}
