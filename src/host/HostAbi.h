// Calling conventions of the simulator's panel system.
//
// The host calls the module's callback objects through their vtables with the
// 32-bit Windows member convention (thiscall), and the panel services table
// holds stdcall function pointers. On every other platform both macros are
// empty, so the same declarations build natively for tests and tools.
#pragma once

#include <cstdint>

#if defined(_WIN32) && defined(__i386__)
#define HOST_MEMBER __thiscall
#define HOST_STDCALL __stdcall
#else
#define HOST_MEMBER
#define HOST_STDCALL
#endif
