// The component's object: IQuorvalis and the IDispatch it derives from,
// dispatched through the type library so script clients can call it by name.
#include "component.h"

typedef struct QuorvalisObject {
    IQuorvalis iface; // first, so an interface pointer is also the object pointer
    LONG refCount;
    ITypeInfo *typeInfo;
} QuorvalisObject;

static QuorvalisObject *FromInterface(IQuorvalis *iface) {
    return (QuorvalisObject *)iface;
}

static HRESULT STDMETHODCALLTYPE QueryInterfaceImpl(IQuorvalis *This, REFIID riid, void **object) {
    if (object == NULL) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, &IID_IUnknown) || IsEqualIID(riid, &IID_IDispatch) ||
        IsEqualIID(riid, &IID_IQuorvalis)) {
        *object = This;
        IQuorvalis_AddRef(This);
        return S_OK;
    }
    *object = NULL;
    return E_NOINTERFACE;
}

static ULONG STDMETHODCALLTYPE AddRefImpl(IQuorvalis *This) {
    return (ULONG)InterlockedIncrement(&FromInterface(This)->refCount);
}

static ULONG STDMETHODCALLTYPE ReleaseImpl(IQuorvalis *This) {
    QuorvalisObject *self = FromInterface(This);
    LONG remaining = InterlockedDecrement(&self->refCount);
    if (remaining == 0) {
        ITypeInfo_Release(self->typeInfo);
        HeapFree(GetProcessHeap(), 0, self);
        ModuleObjectDestroyed();
    }
    return (ULONG)remaining;
}

static HRESULT STDMETHODCALLTYPE GetTypeInfoCountImpl(IQuorvalis *This, UINT *count) {
    (void)This;
    if (count == NULL) {
        return E_POINTER;
    }
    *count = 1;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetTypeInfoImpl(IQuorvalis *This, UINT index, LCID lcid,
                                                 ITypeInfo **typeInfo) {
    (void)lcid;
    if (typeInfo == NULL) {
        return E_POINTER;
    }
    *typeInfo = NULL;
    if (index != 0) {
        return DISP_E_BADINDEX;
    }
    *typeInfo = FromInterface(This)->typeInfo;
    ITypeInfo_AddRef(*typeInfo);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetIDsOfNamesImpl(IQuorvalis *This, REFIID riid, LPOLESTR *names,
                                                   UINT nameCount, LCID lcid, DISPID *dispIds) {
    (void)lcid;
    if (!IsEqualIID(riid, &IID_NULL)) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    return DispGetIDsOfNames(FromInterface(This)->typeInfo, names, nameCount, dispIds);
}

static HRESULT STDMETHODCALLTYPE InvokeImpl(IQuorvalis *This, DISPID dispId, REFIID riid, LCID lcid,
                                            WORD flags, DISPPARAMS *params, VARIANT *result,
                                            EXCEPINFO *exception, UINT *argError) {
    (void)lcid;
    if (!IsEqualIID(riid, &IID_NULL)) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    return DispInvoke(This, FromInterface(This)->typeInfo, dispId, flags, params, result, exception,
                      argError);
}

static HRESULT STDMETHODCALLTYPE GetVersaoImpl(IQuorvalis *This, BSTR *versao) {
    (void)This;
    if (versao == NULL) {
        return E_POINTER;
    }
    *versao = SysAllocString(QUORVALIS_VERSION_WIDE);
    return *versao != NULL ? S_OK : E_OUTOFMEMORY;
}

static HRESULT STDMETHODCALLTYPE EcoarImpl(IQuorvalis *This, BSTR texto, BSTR *resultado) {
    (void)This;
    if (resultado == NULL) {
        return E_POINTER;
    }
    const UINT prefixLength = sizeof(QUORVALIS_ECHO_PREFIX) / sizeof(WCHAR) - 1;
    const UINT textLength = SysStringLen(texto);
    *resultado = SysAllocStringLen(NULL, prefixLength + textLength);
    if (*resultado == NULL) {
        return E_OUTOFMEMORY;
    }
    CopyMemory(*resultado, QUORVALIS_ECHO_PREFIX, prefixLength * sizeof(WCHAR));
    if (textLength > 0) {
        CopyMemory(*resultado + prefixLength, texto, textLength * sizeof(WCHAR));
    }
    return S_OK;
}

static const IQuorvalisVtbl g_quorvalisVtbl = {
    QueryInterfaceImpl,   AddRefImpl,      ReleaseImpl,
    GetTypeInfoCountImpl, GetTypeInfoImpl, GetIDsOfNamesImpl,
    InvokeImpl,           GetVersaoImpl,   EcoarImpl,
};

HRESULT CreateQuorvalisObject(REFIID riid, void **object) {
    *object = NULL;
    ITypeInfo *typeInfo = NULL;
    HRESULT hr = LoadQuorvalisTypeInfo(&typeInfo);
    if (FAILED(hr)) {
        return hr;
    }
    QuorvalisObject *self = HeapAlloc(GetProcessHeap(), 0, sizeof(*self));
    if (self == NULL) {
        ITypeInfo_Release(typeInfo);
        return E_OUTOFMEMORY;
    }
    self->iface.lpVtbl = &g_quorvalisVtbl;
    self->refCount = 1;
    self->typeInfo = typeInfo;
    ModuleObjectCreated();
    // The creation reference is dropped after the query, so a refused
    // interface frees the object at once.
    hr = IQuorvalis_QueryInterface(&self->iface, riid, object);
    IQuorvalis_Release(&self->iface);
    return hr;
}
