// The registry text importer on any bytes: it either applies the text or
// throws its own error naming the line, never anything else.
#include <cstdint>

#include "FuzzInput.h"
#include "platform/RegTextImport.h"
#include "platform/memory/MemoryRegistry.h"

using namespace lindqua;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemoryRegistry registry;
  try {
    ImportRegText(registry, std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const RegTextError&) {
  }
  return 0;
}
