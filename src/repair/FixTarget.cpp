#include "repair/FixTarget.h"

#include "engine/Rot13.h"

namespace lindqua {

std::optional<FixTarget> FixTargetOf(const Finding& row) {
  const std::string& location = row.location;
  const std::size_t slash = location.find('\\');
  if (slash == std::string::npos) return std::nullopt;
  FixTarget t;
  t.rootName = location.substr(0, slash);
  const std::string rest = location.substr(slash + 1);
  switch (row.tag) {
    case FixTag::Key:
      t.kind = FixTarget::Kind::Key;
      t.keyPath = rest;
      return t;
    case FixTag::ValueInLocation: {
      t.kind = FixTarget::Kind::Value;
      const std::size_t last = rest.rfind('\\');
      if (last == std::string::npos) {
        t.valueName = rest;
      } else {
        t.keyPath = rest.substr(0, last);
        t.valueName = rest.substr(last + 1);
      }
      return t;
    }
    case FixTag::NamedValue:
      t.kind = FixTarget::Kind::Value;
      t.keyPath = rest;
      t.valueName = row.shownText;
      return t;
    case FixTag::SubKey:
      t.kind = FixTarget::Kind::Key;
      // An empty rest (a subkey directly under the root) gives "\Name", which
      // the registry object reads from the root.
      t.keyPath = rest + "\\" + row.shownText;
      return t;
    case FixTag::File:
      t.kind = FixTarget::Kind::File;
      t.filePath = location;
      return t;
    case FixTag::DefaultValue:
      t.kind = FixTarget::Kind::Value;
      t.keyPath = rest;
      return t;
    case FixTag::Rot13Value:
      t.kind = FixTarget::Kind::Value;
      t.keyPath = rest;
      t.valueName = Rot13(row.shownText);
      return t;
    default:
      return std::nullopt;
  }
}

std::string DescribeFixTarget(const FixTarget& t) {
  if (t.kind == FixTarget::Kind::File) return t.filePath;
  std::string key = t.rootName;
  if (!t.keyPath.empty() && t.keyPath.front() != '\\') key += "\\";
  key += t.keyPath;
  if (t.kind == FixTarget::Kind::Key) return key;
  return key + "  [value " + (t.valueName.empty() ? std::string("(default)") : "\"" + t.valueName + "\"") + "]";
}

}  // namespace lindqua
