#include "engine/FileCheckMemo.h"

namespace lindqua {

namespace {

// What an entry costs besides its key and reason: the map's node with its
// two strings, and the allocator's share.
constexpr std::size_t EntryBytes = 128;

void AppendSized(std::string& key, std::string_view part) {
  const auto size = static_cast<std::uint32_t>(part.size());
  key.append(reinterpret_cast<const char*>(&size), sizeof size).append(part);
}

}  // namespace

FileCheckMemo::FileCheckMemo(const CachingFileSystem& files, std::size_t maxBytes)
    : files_(files), maxBytes_(maxBytes), clearsSeen_(files.Clears()) {}

const FileCheckMemo::Verdict* FileCheckMemo::Find(const FileQuestion& question) {
  if (files_.Clears() != clearsSeen_) {
    Clear();
    clearsSeen_ = files_.Clears();
  }
  key_.clear();
  key_.push_back(static_cast<char>((question.acceptFolder ? 1 : 0) | (static_cast<int>(question.origin) << 1)));
  key_.push_back(static_cast<char>(question.scanFlags));
  AppendSized(key_, question.cutAt);
  AppendSized(key_, question.driveLetters);
  key_.append(question.text);
  const auto found = verdicts_.find(key_);
  return found == verdicts_.end() ? nullptr : &found->second;
}

bool FileCheckMemo::Steady(Stamp before) const noexcept {
  const Stamp now = Now();
  return now.unsure == before.unsure && now.clears == before.clears && now.clears == clearsSeen_;
}

FileCheckMemo::Verdict* FileCheckMemo::Entry() {
  if (const auto found = verdicts_.find(key_); found != verdicts_.end()) return &found->second;
  if (bytes_ + EntryBytes + key_.size() > maxBytes_) Clear();
  bytes_ += EntryBytes + key_.size();
  return &verdicts_[key_];
}

void FileCheckMemo::KeepMissing(bool missing, Stamp before) {
  if (!Steady(before)) return;
  Entry()->missing = missing;
}

void FileCheckMemo::KeepReason(std::string_view reason, Stamp before) {
  if (!Steady(before)) return;
  const auto found = verdicts_.find(key_);
  // Only a verdict already kept gains its reason: the reason alone answers nothing.
  if (found == verdicts_.end() || found->second.reasonKnown) return;
  if (bytes_ + reason.size() > maxBytes_) {
    Clear();
    return;
  }
  bytes_ += reason.size();
  found->second.reason.assign(reason);
  found->second.reasonKnown = true;
}

void FileCheckMemo::Clear() {
  std::unordered_map<std::string, Verdict>().swap(verdicts_);
  bytes_ = 0;
}

}  // namespace lindqua
