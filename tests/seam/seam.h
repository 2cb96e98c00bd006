// Force-included into every source of the program's test variant: its calls
// to the registry, files, modules, device contexts, message boxes and the log
// list go to the counterparts in seam.cpp, which forward them to the system.
#pragma once
#include <windows.h>

decltype(RegOpenKeyExA) SeamRegOpenKeyExA;
decltype(RegCreateKeyExA) SeamRegCreateKeyExA;
decltype(RegSetValueExA) SeamRegSetValueExA;
decltype(RegDeleteKeyA) SeamRegDeleteKeyA;
decltype(RegCloseKey) SeamRegCloseKey;
decltype(LoadLibraryExA) SeamLoadLibraryExA;
decltype(FreeLibrary) SeamFreeLibrary;
decltype(CreateFileA) SeamCreateFileA;
decltype(CloseHandle) SeamCloseHandle;
decltype(GetDC) SeamGetDC;
decltype(ReleaseDC) SeamReleaseDC;
decltype(MessageBoxA) SeamMessageBoxA;
decltype(SendMessageA) SeamSendMessageA;
decltype(WaitMessage) SeamWaitMessage;

#define RegOpenKeyExA   SeamRegOpenKeyExA
#define RegCreateKeyExA SeamRegCreateKeyExA
#define RegSetValueExA  SeamRegSetValueExA
#define RegDeleteKeyA   SeamRegDeleteKeyA
#define RegCloseKey     SeamRegCloseKey
#define LoadLibraryExA  SeamLoadLibraryExA
#define FreeLibrary     SeamFreeLibrary
#define CreateFileA     SeamCreateFileA
#define CloseHandle     SeamCloseHandle
#define GetDC           SeamGetDC
#define ReleaseDC       SeamReleaseDC
#define MessageBoxA     SeamMessageBoxA
#define SendMessageA    SeamSendMessageA
#define WaitMessage     SeamWaitMessage
// LoadLibraryA is LoadLibraryExA without flags.
#define LoadLibraryA(file) SeamLoadLibraryExA(file, NULL, 0)
