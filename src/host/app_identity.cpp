#include "host/app_identity.h"

#include "app_identity_config.h"
#include "host/text.h"

namespace tolvu {

Identity AppIdentity() {
  return Identity{TOLVU_TITLE_TEXT, TOLVU_VERSION_MAJOR, TOLVU_VERSION_MINOR};
}

std::u16string WindowTitle() {
  const Identity id = AppIdentity();
  return id.title + u" " + DecimalText(id.major) + u"." + DecimalText(id.minor);
}

}  // namespace tolvu
