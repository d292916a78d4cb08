#pragma once
// What the file check concluded of each text it was asked about in one scan.
// Registry values name the same few thousand paths over and over (every
// class of a library names its file, every list of recent files names the
// same folders), and the check's verdict on a text follows from the
// existence answers, which the scan's cache takes as fixed. A verdict that
// rests on an answer the system was unsure of is not kept, and all are
// dropped when the cache forgets its answers. Used by the scan thread only.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/Wow64Places.h"
#include "platform/CachingFileSystem.h"

namespace lindqua {

// A text and everything the check was told besides it.
struct FileQuestion {
  std::string_view text;
  std::string_view cutAt;
  bool acceptFolder = false;
  std::string_view driveLetters;
  PathOrigin origin = PathOrigin::Registry;
  std::uint8_t scanFlags = 0;  // the scan's facts the check reads, one bit each
};

class FileCheckMemo {
 public:
  // When what it keeps reaches about maxBytes (its texts, reasons and the
  // map's own share per entry), it starts again empty.
  explicit FileCheckMemo(const CachingFileSystem& files, std::size_t maxBytes = DefaultMaxBytes);

  static constexpr std::size_t DefaultMaxBytes = std::size_t{8} << 20;

  struct Verdict {
    bool missing = false;
    bool reasonKnown = false;
    std::string reason;  // why it is missing, once asked
  };

  // What the check concluded of `question`, or null. Makes it the question
  // the next Keep is about.
  const Verdict* Find(const FileQuestion& question);

  // Where the cache stood before a check, to tell whether its verdict may be kept.
  struct Stamp {
    std::uint64_t unsure = 0;
    std::uint64_t clears = 0;
  };
  Stamp Now() const noexcept { return {files_.UnsureAnswers(), files_.Clears()}; }

  // Keep the verdict, or the reason, on the question last looked up, both
  // worked out since `before`.
  void KeepMissing(bool missing, Stamp before);
  void KeepReason(std::string_view reason, Stamp before);

  void Clear();
  std::size_t Size() const noexcept { return verdicts_.size(); }

 private:
  // Both conclusions were drawn from answers that still hold and that
  // would be given again.
  bool Steady(Stamp before) const noexcept;
  Verdict* Entry();

  const CachingFileSystem& files_;
  std::size_t maxBytes_;
  std::size_t bytes_ = 0;
  std::uint64_t clearsSeen_ = 0;
  // The question in one string: what the check was told, each part after
  // its length, then the text. The last one looked up stays in `key_`, with
  // its entry in `last_` once it has one; `probe_` is the next one's buffer.
  std::string key_, probe_;
  Verdict* last_ = nullptr;
  std::unordered_map<std::string, Verdict> verdicts_;
};

}  // namespace lindqua
