// Creation and release of the program-wide records.
#include "app/globals.h"

namespace app {

void InitGlobals(Globals& globals) {
  globals.trayRecord = std::make_unique<TrayRecord>();
  globals.instanceCount = 0;
  globals.enumeratorTable = std::make_unique<EnumeratorTable>();
  globals.slideUp = 0;
}

void ReleaseGlobals(Globals& globals) {
  globals.trayRecord.reset();
  if (globals.enumeratorTable) {
    // Enumerators first, then the lists that held them.
    globals.enumeratorTable->enumerators.clear();
    globals.enumeratorTable->keys.clear();
    globals.enumeratorTable.reset();
  }
}

}  // namespace app
