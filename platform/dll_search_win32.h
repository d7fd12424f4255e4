#pragma once
// Where the executables load DLLs from: System32 only, never the folder they
// were started from (a setup is often run from Downloads, where anything may
// lie beside it).

namespace orvika2 {

// Every later LoadLibrary and every delay-loaded import searches System32
// only. First thing in each entry point, before anything may load a DLL.
void LoadDllsFromSystem32Only();

}  // namespace orvika2
