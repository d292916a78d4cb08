#include "app/OptionsSetting.h"

namespace lindqua {

TOptionsSetting OptionsSetting;

}  // namespace lindqua
