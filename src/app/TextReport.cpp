#include "app/TextReport.h"

#include "app/FindingsOutput.h"

namespace lindqua {

namespace {

// Length of the UTF-8 sequence that starts with this byte (1 for a stray byte).
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  return 1;
}

}  // namespace

std::string ReportFileName(const std::string& chosen) {
  const std::size_t slash = chosen.find_last_of("\\/");
  const std::size_t dot = chosen.rfind('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  if (hasExtension && chosen.substr(dot) == ".txt") return chosen;
  return chosen + ".txt";
}

std::string ReportBytes(const std::vector<Finding>& rows, const AnsiCodePage& ansi) {
  const std::string text = FormatFindingsText(rows);
  if (auto whole = ansi.FromUtf8(text)) return *whole;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = std::min(SequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
    auto one = ansi.FromUtf8(std::string_view(text).substr(i, length));
    out += one ? *one : std::string("?");
    i += length;
  }
  return out;
}

bool aSaveTextExecute(const std::vector<Finding>& rows, SaveReportView& view, FileSystem& files,
                      const AnsiCodePage& ansi) {
  const auto chosen = view.AskSaveFileName("Save as Text", "Text files (*.txt)|*.txt");
  if (!chosen) return false;
  const std::string name = ReportFileName(*chosen);
  if (files.FileExists(name) && !view.AskYesNo(name + " has existed,overite it?")) return false;
  if (!files.WriteWholeFile(name, ReportBytes(rows, ansi))) {
    const std::string reason = view.LastFileErrorReason();
    view.ShowError("Cannot create file \"" + name + "\". " + reason);
    return false;
  }
  return true;
}

}  // namespace lindqua
