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

// The import file is argument 2 as typed.
std::uint32_t RunImport(Host& host, const Request& r) {
  if (!IsRegFileName(r.keyArgument)) {
    return ShowUsage(host);
  }
  return ImportFile(host, r.keyArgument);
}

// The export file is argument 3 as typed.
std::uint32_t RunExport(Host& host, const Request& r) {
  if (!IsRegFileName(r.dataName) || r.root == 0) {
    return ShowUsage(host);
  }
  return ExportKey(host, KeyPath{r.root, r.subKey}, r.dataName);
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
