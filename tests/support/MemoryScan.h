#pragma once
// A scan context over the in-memory platform, for tests that call scanners
// and the file reference check directly, without a scan thread.
#include <stop_token>
#include <string>
#include <vector>

#include "engine/ResultsModel.h"
#include "engine/ScanContext.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"

namespace lindqua::test {

inline constexpr const char* AllDriveLetters = "abcdefghijklmnopqrstuvwxyz";

struct MemoryScan {
  MemoryScan() : scan(ScanPlatform{registry, files, facts}, ScanSink(model, stop.get_token())) {
    scan.DriveLetters = AllDriveLetters;
  }

  std::vector<Finding> Rows() const { return model.Rows(); }

  MemoryRegistry registry;
  MemoryFileSystem files;
  MemorySystemFacts facts;
  ResultsModel model;
  std::stop_source stop;
  ScanContext scan;
};

}  // namespace lindqua::test
