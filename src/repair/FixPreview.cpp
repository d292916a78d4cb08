#include "repair/FixPreview.h"

#include "platform/TRegistry.h"
#include "repair/FixTarget.h"

namespace lindqua {

namespace {

bool TargetExists(RegistryBackend& registry, RootKey root, const FixTarget& target) {
  TRegistry reg(registry);
  reg.SetRootKey(root);
  if (target.kind == FixTarget::Kind::Key) return reg.KeyExists(target.keyPath);
  return reg.OpenKey(target.keyPath, false) && reg.ValueExists(target.valueName);
}

}  // namespace

FixRowReport PreviewFixRow(const ExportPlatform& platform, const Finding& row) {
  FixRowReport report;
  report.row = row;
  const auto target = FixTargetOf(row);
  if (!target) return report;
  if (target->kind == FixTarget::Kind::File) {
    if (platform.files.FileExists(target->filePath)) report.outcome = DeleteOutcome::Deleted;
    return report;
  }
  const auto root = RootKeyFromName(target->rootName);
  if (!root) {
    report.outcome = DeleteOutcome::UnknownRoot;
    return report;
  }
  if (!TargetExists(platform.registry, *root, *target)) return report;
  std::string block;
  const ExportResult rendered = RenderBackupBlock(platform.registry, platform.ansi, *root,
                                                  target->kind == FixTarget::Kind::Key, target->valueName,
                                                  target->keyPath, block);
  report.outcome = rendered.status == ExportStatus::Written ? DeleteOutcome::Deleted : DeleteOutcome::NotExact;
  report.problem = rendered.problem;
  return report;
}

}  // namespace lindqua
