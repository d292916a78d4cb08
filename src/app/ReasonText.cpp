#include "app/ReasonText.h"

namespace lindqua {

std::string ReasonLine(std::string_view reason) {
  std::string line(reason);
  for (char& c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = ' ';
  }
  return line;
}

}  // namespace lindqua
