// Where the process looks for a DLL named without a path: the system
// directory only. The program is run from wherever it was downloaded to, often
// with administrator rights; a DLL dropped beside it must never be loaded.
// Every system DLL that is not a known DLL is delay-loaded (see
// cmake/DelayLoad.cmake), so restricting the search before the first call into
// one of them covers them all, and the DLLs they load in turn.
#pragma once

namespace app {

// Called before anything else in the process loads a DLL.
void RestrictDllSearch();

}  // namespace app
