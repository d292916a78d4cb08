#pragma once
// The upper-cased text of a path, with what the existence cache asks of it:
// its hash and the hash of each of its prefixes (a folder above it is a
// prefix), and whether its names are plain. A file check asks about many
// prefixes of one path in a row, so each new path is upper-cased, hashed
// and split into names only from where it differs from the one before.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lindqua {

// The hash the cache files upper-cased paths under; byte by byte, so that a
// path's hash continues its prefix's.
std::uint64_t PathHash(std::string_view upperPath) noexcept;

class UpperPathKey {
 public:
  UpperPathKey();

  // Makes `path`, upper-cased, the key.
  void Assign(std::string_view path);

  std::string_view Text() const noexcept { return {upper_.data(), size_}; }
  // PathHash of the first `length` characters of the key.
  std::uint64_t HashOf(std::size_t length) const noexcept { return hashes_[length]; }
  std::uint64_t Hash() const noexcept { return hashes_[size_]; }
  // Position of the last "\", or npos.
  std::size_t LastSlash() const noexcept;
  // Every "\"-separated name from `start` on is plain (IsPlainName), where
  // `start` is 0 or follows a "\".
  bool PlainNamesFrom(std::size_t start) const noexcept;
  // The name after the last "\" (the whole key when there is none) is plain.
  bool LastNamePlain() const noexcept;
  // ... or stays in its folder (StaysInFolder).
  bool LastNameStaysInFolder() const noexcept;
  // Every name from `start` (0 or just after a "\") up to the "\" at
  // `slash` is plain; `slash` must be one of the key's.
  bool PlainNamesBefore(std::size_t start, std::size_t slash) const noexcept;

 private:
  // A "\" of the key and what the names up to it hold.
  struct Slash {
    std::size_t at;
    // Where the last name before it that is not plain starts, or -1.
    std::int64_t lastOddStart;
  };

  // Records the "\" at `at`, which ends a name.
  void AddSlash(std::size_t at);

  // Each holds the key's characters from 0 to size_, and may run past it.
  std::size_t size_ = 0;
  std::string asked_;  // the path as it was given
  std::string upper_;
  std::vector<std::uint64_t> hashes_;  // [n] for the first n characters
  std::vector<Slash> slashes_;
  // Whether the name after the last "\" is plain, worked out when first asked.
  enum : std::int8_t { Unknown, Yes, No };
  mutable std::int8_t lastNamePlain_ = Unknown;
};

}  // namespace lindqua
