// Shared declarations of the sample component library's modules.
#pragma once
// C call macros for the interfaces, and const tables since ours never change.
#define COBJMACROS
#define CONST_VTABLE
#include <windows.h>
#include <ole2.h>
#include "Quorvalis.h" // generated from Quorvalis.idl

// The one version text: Get_VersaoDLL writes it and the Versao property returns it.
#define QUORVALIS_VERSION_TEXT "1.2.3.4"
#define QUORVALIS_VERSION_SIZE 512
// What Ecoar puts in front of its argument, so a client can tell the call went through.
#define QUORVALIS_ECHO_PREFIX  L"Quorvalis: "
#define QUORVALIS_TYPELIB_FILE L"Quorvalis.tlb"

// The component-dep variant takes the Versao text from its own dependency,
// QuorvalisApoio.dll, so the loader must find that library beside it.
const WCHAR *QuorvalisApoio_Versao(void);
#ifdef QUORVALIS_VERSION_FROM_APOIO
#define QUORVALIS_VERSION_WIDE QuorvalisApoio_Versao()
#else
#define QUORVALIS_VERSION_WIDE L"" QUORVALIS_VERSION_TEXT
#endif

// Set once when the library is loaded; locates the type library beside it.
extern HINSTANCE g_moduleInstance;

// Live objects and server locks, which decide DllCanUnloadNow.
void ModuleObjectCreated(void);
void ModuleObjectDestroyed(void);
void ModuleLock(BOOL lock);

// Type information of IQuorvalis, from the registered type library or else from
// the file beside this library; the caller releases it.
HRESULT LoadQuorvalisTypeInfo(ITypeInfo **typeInfo);

// A new object, handed out through the interface riid.
HRESULT CreateQuorvalisObject(REFIID riid, void **object);

void WINAPI Get_VersaoDLL(char *buffer);
