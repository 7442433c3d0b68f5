#include "cli/request.h"

#include "host/text.h"

namespace tolvu {
namespace {

constexpr std::size_t kRequestSlots = 6;

}  // namespace

std::optional<Request> ReadRequest(const ArgumentArray& args) {
  // Arguments 6 and later are dropped; missing ones read as empty.
  ArgumentArray slots = args;
  slots.resize(kRequestSlots);

  Request request;
  request.commandWord = ToLowerAscii(slots[1]);
  request.keyArgument = slots[2];
  std::u16string rootName = kNoRootName;
  const std::size_t backslash = slots[2].find(u'\\');
  if (backslash != std::u16string::npos) {
    rootName = StripQuotes(slots[2].substr(0, backslash));
    request.subKey = StripQuotes(slots[2].substr(backslash + 1));
  }
  request.dataName = slots[3];
  request.dataValue = slots[4];

  const std::optional<std::uint32_t> type =
      DataTypeOf(slots[5].empty() ? u"REG_SZ" : slots[5]);
  if (!type) {
    return std::nullopt;
  }
  request.dataType = *type;
  // An import's argument 2 is a file name, which may be any path.
  if (request.commandWord == u"import") {
    return request;
  }
  const std::optional<std::uint32_t> root = RootKeyHandle(rootName);
  if (!root) {
    return std::nullopt;
  }
  request.root = *root;
  return request;
}

}  // namespace tolvu
