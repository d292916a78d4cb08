#include "platform/UpperPathKey.h"

#include "platform/PlainName.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

// FNV-1a, 64 bits.
constexpr std::uint64_t HashStart = 0xcbf29ce484222325ULL;
constexpr std::uint64_t HashPrime = 0x100000001b3ULL;

constexpr std::uint64_t HashStep(std::uint64_t hash, char c) noexcept {
  return (hash ^ static_cast<unsigned char>(c)) * HashPrime;
}

}  // namespace

std::uint64_t PathHash(std::string_view upperPath) noexcept {
  std::uint64_t hash = HashStart;
  for (char c : upperPath) hash = HashStep(hash, c);
  return hash;
}

UpperPathKey::UpperPathKey() : hashes_{HashStart} {}

void UpperPathKey::Assign(std::string_view path) {
  const std::size_t size = path.size();
  const std::size_t same = SharedPrefixLength(std::string_view(asked_.data(), size_), path);
  // The buffers only grow; what lies past the key's end is never read.
  if (asked_.size() < size) {
    asked_.resize(size);
    upper_.resize(size);
  }
  if (hashes_.size() <= size) hashes_.resize(size + 1);
  size_ = size;
  while (!slashes_.empty() && slashes_.back().at >= same) slashes_.pop_back();
  lastNamePlain_ = Unknown;
  std::uint64_t hash = hashes_[same];
  for (std::size_t i = same; i < size; ++i) {
    const char c = AsciiUpper(path[i]);
    asked_[i] = path[i];
    upper_[i] = c;
    hashes_[i + 1] = hash = HashStep(hash, c);
    if (c == '\\') AddSlash(i);
  }
}

void UpperPathKey::AddSlash(std::size_t at) {
  const std::int64_t previousOdd = slashes_.empty() ? -1 : slashes_.back().lastOddStart;
  const std::size_t start = slashes_.empty() ? 0 : slashes_.back().at + 1;
  const bool plain = IsPlainName(Text().substr(start, at - start));
  slashes_.push_back({at, plain ? previousOdd : static_cast<std::int64_t>(start)});
}

std::size_t UpperPathKey::LastSlash() const noexcept {
  return slashes_.empty() ? std::string::npos : slashes_.back().at;
}

bool UpperPathKey::PlainNamesFrom(std::size_t start) const noexcept {
  if (!slashes_.empty() && slashes_.back().lastOddStart >= static_cast<std::int64_t>(start)) return false;
  return LastNamePlain();
}

bool UpperPathKey::PlainNamesBefore(std::size_t start, std::size_t slash) const noexcept {
  for (auto it = slashes_.rbegin(); it != slashes_.rend(); ++it)
    if (it->at == slash) return it->lastOddStart < static_cast<std::int64_t>(start);
  return false;
}

bool UpperPathKey::LastNamePlain() const noexcept {
  if (lastNamePlain_ == Unknown) {
    const std::size_t lastStart = slashes_.empty() ? 0 : slashes_.back().at + 1;
    lastNamePlain_ = IsPlainName(Text().substr(lastStart)) ? Yes : No;
  }
  return lastNamePlain_ == Yes;
}

bool UpperPathKey::LastNameStaysInFolder() const noexcept {
  if (LastNamePlain()) return true;
  const std::size_t lastStart = slashes_.empty() ? 0 : slashes_.back().at + 1;
  return StaysInFolder(Text().substr(lastStart));
}

}  // namespace lindqua
