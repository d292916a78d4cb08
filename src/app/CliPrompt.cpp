#include "app/CliPrompt.h"

#include "platform/Text.h"

namespace lindqua {

bool AskYesNo(CliConsole& console, const std::string& question) {
  console.WriteErr(question);
  const std::optional<std::string> answer = console.ReadLine();
  std::string text = answer ? LowerCase(*answer) : std::string();
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
  const bool yes = text == "y" || text == "yes";
  // The question line ends here, so that a message after a "no" starts on its own line.
  if (!yes) console.WriteErr("\r\n");
  return yes;
}

}  // namespace lindqua
