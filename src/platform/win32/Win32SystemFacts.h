#pragma once
#include "platform/SystemFacts.h"

namespace lindqua {

class Win32SystemFacts : public SystemFacts {
 public:
  OsVersion GetVersion() override;
  std::optional<bool> IsWow64Process() override;
  LocalTime Now() override;
  LocalTime FileTimeToLocal(std::int64_t fileTime) override;
  std::string DateTimeText(const LocalTime& time) override;
};

}  // namespace lindqua
