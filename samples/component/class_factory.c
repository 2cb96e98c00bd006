// The class object COM asks for when a client creates the component.
#include "component.h"

// One static factory for the whole library: its references need no counting,
// only LockServer keeps the library loaded.
static HRESULT STDMETHODCALLTYPE FactoryQueryInterface(IClassFactory *This, REFIID riid,
                                                       void **object) {
    if (object == NULL) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, &IID_IUnknown) || IsEqualIID(riid, &IID_IClassFactory)) {
        *object = This;
        return S_OK;
    }
    *object = NULL;
    return E_NOINTERFACE;
}

static ULONG STDMETHODCALLTYPE FactoryAddRef(IClassFactory *This) {
    (void)This;
    return 2;
}

static ULONG STDMETHODCALLTYPE FactoryRelease(IClassFactory *This) {
    (void)This;
    return 1;
}

static HRESULT STDMETHODCALLTYPE FactoryCreateInstance(IClassFactory *This, IUnknown *outer,
                                                       REFIID riid, void **object) {
    (void)This;
    if (object == NULL) {
        return E_POINTER;
    }
    *object = NULL;
    if (outer != NULL) {
        return CLASS_E_NOAGGREGATION;
    }
    return CreateQuorvalisObject(riid, object);
}

static HRESULT STDMETHODCALLTYPE FactoryLockServer(IClassFactory *This, BOOL lock) {
    (void)This;
    ModuleLock(lock);
    return S_OK;
}

static const IClassFactoryVtbl g_factoryVtbl = {
    FactoryQueryInterface, FactoryAddRef, FactoryRelease, FactoryCreateInstance, FactoryLockServer,
};

static IClassFactory g_factory = {&g_factoryVtbl};

HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void **object) {
    if (object == NULL) {
        return E_POINTER;
    }
    *object = NULL;
    if (!IsEqualCLSID(rclsid, &CLSID_Quorvalis)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return IClassFactory_QueryInterface(&g_factory, riid, object);
}
