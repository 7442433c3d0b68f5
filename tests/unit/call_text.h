// The recording host's registry calls as short readable lines, so that the
// tests state the calls they expect the way one would read them in a trace:
// "RegOpenKeyA 80000001 Top\Leaf", "RegSetValueExA N type 4 length 4",
// "RegDeleteValueA A", "RegCloseKey".
#pragma once

#include <string>
#include <vector>

#include "support/recording_host.h"

namespace tolvu {

std::string CallText(const RecordedCall& call);

std::vector<std::string> CallTexts(const std::vector<RecordedCall>& calls);

}  // namespace tolvu
