#include "regfiles/file_errors.h"

#include "host/status_codes.h"
#include "host/text.h"

namespace tolvu {

std::u16string ErrorReason(std::uint32_t error) {
  switch (error) {
    case kErrorFileNotFound:
      return u"there is none of that name";
    case kErrorPathNotFound:
      return u"its folder does not exist";
    case kErrorAccessDenied:
      return u"access is denied";
    case kErrorSharingViolation:
      return u"another program is using it";
    default:
      return u"Windows error " + DecimalText(error);
  }
}

}  // namespace tolvu
