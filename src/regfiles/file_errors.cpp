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

RunFailure CannotReplace(const std::u16string& fileName,
                         const std::u16string& reason, std::uint32_t status) {
  return RunFailure{
      u"The export cannot replace " + Quoted(fileName) + u": " + reason + u".",
      status};
}

RunFailure CannotWrite(const std::u16string& fileName, std::uint32_t error) {
  return RunFailure{u"The export file " + Quoted(fileName) +
                        u" cannot be written: " + ErrorReason(error) + u".",
                    error};
}

}  // namespace tolvu
