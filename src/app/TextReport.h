#pragma once
// "Save as Text...": every row of the results list as one line of an 8-bit
// text file for people.
#include <optional>
#include <string>
#include <vector>

#include "engine/Finding.h"
#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"

namespace lindqua {

class SaveReportView {
 public:
  virtual ~SaveReportView() = default;
  // The save dialog with this title and filter; nullopt when cancelled.
  virtual std::optional<std::string> AskSaveFileName(const std::string& title, const std::string& filter) = 0;
  // Yes/No with the information icon, No the default; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  virtual void ShowError(const std::string& text) = 0;
  // The system's reason why the file just written could not be, as one
  // sentence; asked at once after the failed write.
  virtual std::string LastFileErrorReason() = 0;
};

// The name as chosen, with ".txt" appended unless it already ends so (exact case).
std::string ReportFileName(const std::string& chosen);

// The report's bytes in the ANSI code page. A character the code page cannot
// hold becomes "?": the report is for reading, not for restoring.
std::string ReportBytes(const std::vector<Finding>& rows, const AnsiCodePage& ansi);

// True when a report was written.
bool aSaveTextExecute(const std::vector<Finding>& rows, SaveReportView& view, FileSystem& files,
                      const AnsiCodePage& ansi);

}  // namespace lindqua
