#include "engine/SweptTreeRecord.h"

#include "platform/Text.h"

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

void SweptTreeRecord::BeginSubtree(std::string_view name, const RegKeyInfo& facts) {
  if (!recording_) return;
  if (!Charge(sizeof(Subtree) + 2 * name.size())) return;
  open_ = UpperCase(name);
  subtrees_[open_] = Subtree{facts, entries_.size(), entries_.size()};
}

void SweptTreeRecord::EndSubtree() {
  if (!recording_ || open_.empty()) return;
  if (auto it = subtrees_.find(open_); it != subtrees_.end()) it->second.end = entries_.size();
  open_.clear();
}

const SweptTreeRecord::Subtree* SweptTreeRecord::FindSubtree(std::string_view name) const {
  const auto it = subtrees_.find(UpperCase(name));
  return it == subtrees_.end() ? nullptr : &it->second;
}

void SweptTreeRecord::Add(Entry entry) {
  if (!recording_) return;
  if (!Charge(sizeof(Entry) + entry.keyPath.size() + entry.name.size() + entry.text.size() + entry.reason.size()))
    return;
  entries_.push_back(std::move(entry));
}

bool SweptTreeRecord::Charge(std::size_t bytes) {
  bytes_ += bytes;
  if (bytes_ <= maxBytes_) return true;
  Clear();
  return false;
}

void SweptTreeRecord::Clear() noexcept {
  std::vector<Entry>().swap(entries_);
  std::unordered_map<std::string, Subtree>().swap(subtrees_);
  open_.clear();
  top_ = {};
  bytes_ = 0;
  recording_ = false;
  complete_ = false;
}

}  // namespace lindqua
