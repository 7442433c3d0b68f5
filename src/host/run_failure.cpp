#include "host/run_failure.h"

#include "host/app_identity.h"

namespace tolvu {

void ShowRunFailure(Host& host, const RunFailure& failure) {
  host.ShowMessageBox(failure.description, Icon::None, AppIdentity().title);
}

}  // namespace tolvu
