#include "ObjectNames.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace halvane3 {
namespace {

enum class Scope { Global, Local };

bool makeName(PosixName& out, const char* prefix, const char* base, Scope scope) {
  const int length = scope == Scope::Global
                         ? std::snprintf(out.text, sizeof out.text, "/%s%s", prefix, base)
                         : std::snprintf(out.text, sizeof out.text, "/%s%s.%u", prefix, base,
                                         static_cast<unsigned>(geteuid()));
  // shm_open wants one leading slash and no other.
  return length > 0 && static_cast<size_t>(length) < sizeof out.text &&
         std::strchr(out.text + 1, '/') == nullptr;
}

bool makeScopeNames(ScopeNames& names, const char* prefix, Scope scope) {
  return makeName(names.region, prefix, "QorShareView3", scope) &&
         makeName(names.mutex, prefix, "QorStructMutEx3", scope) &&
         makeName(names.attachLock, prefix, "QorAttach3", scope);
}

}  // namespace

bool makeObjectNames(ObjectNames& names) {
  const char* prefix = std::getenv("HALVANE3_NAME_PREFIX");
  if (prefix == nullptr) prefix = "";
  names.global.access = globalObjectAccess();
  names.local.access = localObjectAccess();
  return makeScopeNames(names.global, prefix, Scope::Global) &&
         makeScopeNames(names.local, prefix, Scope::Local);
}

}  // namespace halvane3
