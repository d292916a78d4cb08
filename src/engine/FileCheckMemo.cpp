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
  probe_.clear();
  probe_.push_back(static_cast<char>((question.acceptFolder ? 1 : 0) | (static_cast<int>(question.origin) << 1)));
  probe_.push_back(static_cast<char>(question.scanFlags));
  AppendSized(probe_, question.cutAt);
  AppendSized(probe_, question.driveLetters);
  probe_.append(question.text);
  // A missing text's reason is asked right after its verdict.
  if (last_ && probe_ == key_) return last_;
  key_.swap(probe_);
  const auto found = verdicts_.find(key_);
  last_ = found == verdicts_.end() ? nullptr : &found->second;
  return last_;
}

bool FileCheckMemo::Steady(Stamp before) const noexcept {
  const Stamp now = Now();
  return now.unsure == before.unsure && now.clears == before.clears && now.clears == clearsSeen_;
}

FileCheckMemo::Verdict* FileCheckMemo::Entry() {
  if (last_) return last_;
  if (bytes_ + EntryBytes + key_.size() > maxBytes_) Clear();
  bytes_ += EntryBytes + key_.size();
  last_ = &verdicts_[key_];
  return last_;
}

void FileCheckMemo::KeepMissing(bool missing, Stamp before) {
  if (!Steady(before)) return;
  Entry()->missing = missing;
}

void FileCheckMemo::KeepReason(std::string_view reason, Stamp before) {
  if (!Steady(before)) return;
  // Only a verdict already kept gains its reason: the reason alone answers nothing.
  if (!last_ || last_->reasonKnown) return;
  if (bytes_ + reason.size() > maxBytes_) {
    Clear();
    return;
  }
  bytes_ += reason.size();
  last_->reason.assign(reason);
  last_->reasonKnown = true;
}

void FileCheckMemo::Clear() {
  std::unordered_map<std::string, Verdict>().swap(verdicts_);
  last_ = nullptr;
  bytes_ = 0;
}

}  // namespace lindqua
