// The Linux module exports the same names as the Windows DLL; the core's
// symbols are pulled in whole from the static library.
