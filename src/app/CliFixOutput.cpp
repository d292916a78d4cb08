#include "app/CliFixOutput.h"

#include <utility>

#include "app/FindingsOutput.h"
#include "app/JsonText.h"
#include "app/ReasonText.h"
#include "repair/FixTarget.h"

namespace lindqua {

namespace {

std::string TargetText(const Finding& row) {
  const auto target = FixTargetOf(row);
  return target ? DescribeFixTarget(*target) : row.location;
}

}  // namespace

std::string FixResultWord(DeleteOutcome outcome) {
  switch (outcome) {
    case DeleteOutcome::Deleted: return "deleted";
    case DeleteOutcome::NothingThere: return "already gone";
    case DeleteOutcome::UnknownRoot:
    case DeleteOutcome::NotExact: return "refused";
    case DeleteOutcome::Refused:
    case DeleteOutcome::BackupFailed: return "failed";
  }
  return "failed";
}

namespace {

// Why a row was refused or failed, and any detail that goes with it.
std::pair<std::string, std::string> ReasonParts(const FixRowReport& row) {
  switch (row.outcome) {
    case DeleteOutcome::UnknownRoot: return {"unknown root key", ""};
    case DeleteOutcome::NotExact: return {"no exact backup possible", row.problem};
    case DeleteOutcome::Refused: return {"the system refused the deletion", ""};
    case DeleteOutcome::BackupFailed: {
      const std::string head = "the backup file cannot be written";
      return {head, row.problem == head ? std::string() : row.problem};
    }
    default: return {};
  }
}

}  // namespace

std::string FixResultReason(const FixRowReport& row) {
  const auto [head, detail] = ReasonParts(row);
  return detail.empty() ? head : head + ": " + detail;
}

std::string FixRowLine(const FixRowReport& row, bool preview) {
  const std::string target = OneLineText(TargetText(row.row));
  if (row.outcome == DeleteOutcome::Deleted) {
    std::string line = (preview ? "would delete: " : "deleted: ") + target + "\r\n";
    if (preview && !row.row.reason.empty()) line += "  reason: " + ReasonLine(row.row.reason) + "\r\n";
    return line;
  }
  if (row.outcome == DeleteOutcome::NothingThere) return "already gone: " + target + "\r\n";
  const auto [head, detail] = ReasonParts(row);
  return std::string(preview ? "would not fix" : "not fixed") + " (" + head + "): " + target +
         (detail.empty() ? std::string() : " (" + OneLineText(detail) + ")") + "\r\n";
}

std::string FormatFixJson(const FixReport& report, bool dryRun, std::size_t notAttempted) {
  std::string out = std::string("{\"dryRun\":") + (dryRun ? "true" : "false") + ",\"backupFile\":";
  if (report.backupFile.empty()) out += "null";
  else AppendJsonString(out, report.backupFile);
  out += std::string(",\"completed\":") + (report.completed ? "true" : "false") + ",\"endReason\":";
  AppendJsonString(out, report.endReason);
  out += ",\"findings\":[";
  bool first = true;
  for (const FixRowReport& row : report.rows) {
    if (!first) out += ',';
    first = false;
    out += '{';
    AppendFindingJsonFields(out, row.row);
    out += ",\"target\":";
    AppendJsonString(out, TargetText(row.row));
    out += ",\"result\":";
    AppendJsonString(out, FixResultWord(row.outcome));
    out += ",\"why\":";
    AppendJsonString(out, FixResultReason(row));
    out += '}';
  }
  out += "],\"notAttempted\":" + std::to_string(notAttempted) + "}\r\n";
  return out;
}

}  // namespace lindqua
