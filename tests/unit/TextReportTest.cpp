// The text report's file name, bytes and questions.
#include <gtest/gtest.h>

#include "app/TextReport.h"
#include "platform/memory/Windows1252CodePage.h"
#include "platform/memory/MemoryFileSystem.h"

namespace lindqua::test {

namespace {

class FakeSaveView : public SaveReportView {
 public:
  std::optional<std::string> AskSaveFileName(const std::string& t, const std::string& f) override {
    title = t;
    filter = f;
    return chosen;
  }
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    return yes;
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  std::string LastFileErrorReason() override { return "The system cannot find the path specified."; }
  std::optional<std::string> chosen;
  bool yes = false;
  std::string title, filter;
  std::vector<std::string> questions, errors;
};

Finding Row(std::string caption, std::string shown, std::string location, int tag) {
  return Finding{std::move(caption), std::move(shown), std::move(location), tag, 10, false, ""};
}

}  // namespace

TEST(TextReport, FileNameGetsTxtUnlessItEndsInExactlyThat) {
  EXPECT_EQ(ReportFileName("C:\\r\\report"), "C:\\r\\report.txt");
  EXPECT_EQ(ReportFileName("C:\\r\\report.txt"), "C:\\r\\report.txt");
  EXPECT_EQ(ReportFileName("C:\\r\\report.TXT"), "C:\\r\\report.TXT.txt");
  EXPECT_EQ(ReportFileName("C:\\r\\a.log"), "C:\\r\\a.log.txt");
  EXPECT_EQ(ReportFileName("C:\\dir.txt\\report"), "C:\\dir.txt\\report.txt");
}

TEST(TextReport, LinesInListOrderInTheAnsiCodePage) {
  const Windows1252CodePage ansi;
  const std::string bytes = ReportBytes({Row("Obsolete Software Entry", "", "HKEY_CURRENT_USER\\Software\\Old", 3),
                                         Row("Caf\xC3\xA9", "\xE4\xB8\xAD x", "HKEY_USERS\\S", 0)},
                                        ansi);
  EXPECT_EQ(bytes,
            "Obsolete Software Entry  ^^^    ^^^  HKEY_CURRENT_USER\\Software\\Old\r\n"
            "Caf\xE9  ^^^  ? x  ^^^  HKEY_USERS\\S\r\n");
  EXPECT_EQ(ReportBytes({}, ansi), "");
}

TEST(TextReport, SaveAsksBeforeOverwritingAndReportsWhatItCannotWrite) {
  MemoryFileSystem files;
  const Windows1252CodePage ansi;
  FakeSaveView view;
  const std::vector<Finding> rows = {Row("Empty Registry Keys", "Foo", "HKEY_USERS\\S-1-5-18\\Software\\Foo", 3)};
  EXPECT_FALSE(aSaveTextExecute(rows, view, files, ansi)) << "cancelled";
  EXPECT_EQ(view.title, "Save as Text");
  EXPECT_EQ(view.filter, "Text files (*.txt)|*.txt");

  view.chosen = "C:\\report";
  EXPECT_TRUE(aSaveTextExecute(rows, view, files, ansi));
  EXPECT_TRUE(view.questions.empty()) << "no question for a new file";
  std::string written;
  ASSERT_TRUE(files.ReadWholeFile("C:\\report.txt", written));
  EXPECT_EQ(written, "Empty Registry Keys  ^^^  Foo  ^^^  HKEY_USERS\\S-1-5-18\\Software\\Foo\r\n");

  EXPECT_FALSE(aSaveTextExecute({}, view, files, ansi));
  EXPECT_EQ(view.questions, std::vector<std::string>{"C:\\report.txt has existed,overite it?"});
  ASSERT_TRUE(files.ReadWholeFile("C:\\report.txt", written));
  EXPECT_FALSE(written.empty()) << "No keeps the old file";

  view.chosen = "C:\\NoFolder\\report";
  EXPECT_FALSE(aSaveTextExecute(rows, view, files, ansi));
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_EQ(view.errors[0], "Cannot create file \"C:\\NoFolder\\report.txt\". The system cannot find the path specified.")
      << "the system's reason, not a fixed text";
}

}  // namespace lindqua::test
