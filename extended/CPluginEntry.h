#pragma once
// The exported entries of a plug-in library whose object needs nothing but
// construction: NUV_PLUGIN_ENTRY(CMyPlugin) in exactly one source file.

#include "extended/CPlugin.h"

#define NUV_PLUGIN_ENTRY(PluginClass)                \
  extern "C" CPlugin* pluginCreator() {              \
    return new PluginClass;                          \
  }                                                  \
  extern "C" void pluginDestroyer(CPlugin* plugin) { \
    delete plugin;                                   \
  }
