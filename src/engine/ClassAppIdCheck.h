#pragma once
// The AppID check of the ActiveX section: a class whose AppID value names no
// registered AppID, and whose in-process server is absent or not the
// accessibility library, is reported so that the fix deletes the class key.
#include "engine/ScanContext.h"

namespace lindqua {

// Ends at a stop request, since nothing found after it would be shown. When
// the AppID list cannot be read nothing is reported, and a class whose server
// key exists but cannot be opened is left alone: neither is evidence that
// anything is missing.
void ScanClsidAppIds(ScanContext& scan);

}  // namespace lindqua
