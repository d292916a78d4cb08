#include "engine/SweptTreeRecord.h"

namespace lindqua {

void SweptTreeRecord::Begin(const RegKeyInfo& top) {
  Clear();
  top_ = top;
  recording_ = true;
}

void SweptTreeRecord::AddValue(std::string_view keyPath, std::string_view name, std::string_view text,
                               std::string_view reason) {
  Add(Entry{std::string(keyPath), std::string(name), std::string(text), std::string(reason), false});
}

void SweptTreeRecord::AddPassedOver(std::string_view keyPath) { Add(Entry{std::string(keyPath), {}, {}, {}, true}); }

void SweptTreeRecord::Add(Entry entry) {
  if (!recording_) return;
  bytes_ += sizeof(Entry) + entry.keyPath.size() + entry.name.size() + entry.text.size() + entry.reason.size();
  if (bytes_ > maxBytes_) {
    Clear();
    return;
  }
  entries_.push_back(std::move(entry));
}

void SweptTreeRecord::Clear() noexcept {
  std::vector<Entry>().swap(entries_);
  top_ = {};
  bytes_ = 0;
  recording_ = false;
  complete_ = false;
}

}  // namespace lindqua
