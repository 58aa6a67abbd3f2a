// One step of an automation collection walk on Win32: the walk rule of
// enumerator_table.h over COM holders. The enumerator comes from the
// collection's "_NewEnum" property, queried for IEnumVARIANT and reset; each
// step asks it for one member. IEnumVARIANT's methods are called through the
// interface itself.
#pragma once

#include "disk/automation/automation_win.h"
#include "disk/automation/enumerator_table.h"

namespace disk::automation {

// The program-wide table: IEnumVARIANT holders keyed by the interface pointer
// value of their collection.
using EnumeratorTable = BasicEnumeratorTable<AutomationObject>;

// Delivers the next member of `collection` into `item` and returns true, or
// returns false when there is none: at the end, on an empty holder, on a
// collection without an enumerator, when Next answers anything but S_OK with
// one member, and after kMaxWalkMembers members. `item` is cleared first and
// left empty when no member is delivered.
bool NextMember(EnumeratorTable& table, const AutomationObject& collection,
                AutomationValue& item);

}  // namespace disk::automation
