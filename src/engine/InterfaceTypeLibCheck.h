#pragma once
// The interface check of the custom controls section: an interface whose
// type library reference names no registered type library is reported, so
// that the fix deletes the interface's key, unless it has a proxy class of
// its own whose server exists: such an interface works without the library.
#include "engine/ScanContext.h"

namespace lindqua {

// Ends at a stop request, since nothing found after it would be shown. When
// the list of registered type libraries cannot be read, nothing is reported:
// a list that could not be read would make every reference look dangling.
void ScanInterfaceTypeLibs(ScanContext& scan);

}  // namespace lindqua
