// Who may open the shared objects, and which existing objects a process accepts.
//
// The local objects are the user's own: mode 0600, and one owned by anybody else is refused.
// The global objects are open to every local account (mode 0666) and accepted whoever owns
// them, since the family's processes run under different accounts and any of them may be
// the first to create the objects. HALVANE3_GROUP narrows that: the global objects then
// belong to that group with mode 0660, and an object is accepted only when it is the
// process's own or belongs to the group and is closed to everybody else. Only regular files
// are ever accepted. A process puts the mode and group of objects that it owns right.
#pragma once

#include <sys/types.h>

namespace halvane3 {

enum class AcceptedOwners {
  ThisUser,
  Anybody,
  // Objects that belong to the family's group and are closed to others, and the user's own.
  FamilyGroup,
  // HALVANE3_GROUP names no group: no object of the scope can be used.
  Nobody,
};

struct ObjectAccess {
  mode_t mode = 0600;
  AcceptedOwners owners = AcceptedOwners::ThisUser;
  gid_t group = 0;
};

// The access of the global objects under HALVANE3_GROUP (read now).
ObjectAccess globalObjectAccess();
// The access of the user's own (local) objects.
ObjectAccess localObjectAccess();

// True when the object open on fd may be used: a regular file, owned by this process's user
// (its mode and group are then set as `access` asks) or by an owner that `access` accepts.
bool acceptObject(int fd, const ObjectAccess& access);

}  // namespace halvane3
