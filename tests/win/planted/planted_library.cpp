// A library that does nothing, put beside the Windows tests the way a planted file would lie beside the program.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
