// The console's argument parser on any list of arguments: it answers, never
// crashes, and a refusal always says why.
#include <cstdint>

#include "FuzzInput.h"
#include "app/CliArguments.h"

using namespace lindqua;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Arguments are separated by NUL bytes, as the process's argument block is.
  std::vector<std::string> args;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  while (!text.empty() && args.size() < 32) {
    const std::size_t end = text.find('\0');
    args.emplace_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  CliRequest request;
  std::string error;
  if (!ParseCliArguments(args, request, error) && error.empty()) fuzz::Fail("a refusal without a reason");
  return 0;
}
