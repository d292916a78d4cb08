#pragma once
#include "platform/RestorePointClient.h"

namespace lindqua {

// Loads "SrClient.dll" for each request and calls "SRSetRestorePointA".
class Win32RestorePointClient : public RestorePointClient {
 public:
  RestorePointResult Create(const RestorePointRequest& request) override;
};

}  // namespace lindqua
