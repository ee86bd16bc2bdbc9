#pragma once
// The embedded database provider (SQLite). For now it only provides the
// interface the server waits for; connections come with the object layer.

#include "extended/CPlugin.h"

class CSQLiteDatabasePlugin : public CPlugin {
 public:
  int openPlugin() override;
  std::string pluginName() const override { return "SQLite Database"; }
  std::string pluginInterface() const override {
    return "CIDatabaseInit,CSQLiteDatabasePlugin,CPlugin";
  }
};
