#include "cli/routes.h"

#include "cli/usage.h"
#include "regfiles/import_export.h"
#include "registry/delete_key_or_value.h"
#include "registry/write_key_value.h"

namespace tolvu {
namespace {

struct Route {
  bool (*accepts)(const Request& request);
  std::uint32_t (*run)(Host& host, const Request& request);
};

bool IsAdd(const Request& r) {
  return r.commandWord == u"add" || r.commandWord == u"create";
}

bool IsRemove(const Request& r) {
  return r.commandWord == u"remove" || r.commandWord == u"delete";
}

bool IsImport(const Request& r) { return r.commandWord == u"import"; }

bool IsExport(const Request& r) { return r.commandWord == u"export"; }

std::uint32_t RunAdd(Host& host, const Request& r) {
  return WriteKeyValue(host, KeyPath{r.root, r.subKey},
                       TypedValue{r.dataName, r.dataValue, r.dataType});
}

std::uint32_t RunRemove(Host& host, const Request& r) {
  return DeleteKeyOrValue(host, KeyPath{r.root, r.subKey}, r.dataName);
}

// The import file is the one argument 2 names.
std::uint32_t RunImport(Host& host, const Request& r) {
  const std::u16string fileName = FileNameOf(r.keyArgument);
  if (!IsRegFileName(fileName)) {
    return ShowUsage(host);
  }
  return ImportFile(host, fileName);
}

// The export file is the one argument 3 names.
std::uint32_t RunExport(Host& host, const Request& r) {
  const std::u16string fileName = FileNameOf(r.dataName);
  if (!IsRegFileName(fileName) || r.root == kNoRoot) {
    return ShowUsage(host);
  }
  return ExportKey(host, KeyPath{r.root, r.subKey}, fileName);
}

constexpr Route kRoutes[] = {
    {IsAdd, RunAdd},
    {IsRemove, RunRemove},
    {IsImport, RunImport},
    {IsExport, RunExport},
};

}  // namespace

std::optional<std::uint32_t> RunFirstRoute(Host& host, const Request& request) {
  for (const Route& route : kRoutes) {
    if (route.accepts(request)) {
      return route.run(host, request);
    }
  }
  return std::nullopt;
}

}  // namespace tolvu
