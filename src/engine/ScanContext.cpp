#include "engine/ScanContext.h"

namespace lindqua {

void ScanContext::SetStatusText(std::string_view text) {
  if (Terminated()) return;
  statusText_ = std::string(text);
  sink_.SetStatus(statusText_, statusVisible_);
}

void ScanContext::SetStatusVisible(bool visible) {
  statusVisible_ = visible;
  sink_.SetStatus(statusText_, statusVisible_);
}

void ScanContext::ShowDetail(std::string_view text) {
  detailText_.assign(text);  // asked for every key: the buffer is kept
  sink_.SetDetail(detailText_, detailVisible_);
}

void ScanContext::SetDetailVisible(bool visible) {
  detailVisible_ = visible;
  sink_.SetDetail(detailText_, detailVisible_);
}

void ScanContext::AddFinding(std::string_view caption, std::string_view shownText, std::string_view location,
                             int tag, std::string_view reason) {
  sink_.AddFinding(caption, shownText, location, tag, currentSection, reason);
}

}  // namespace lindqua
