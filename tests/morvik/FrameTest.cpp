// The COM frame of Morvik.dll, loaded into this process: exports, class
// factory, lock count, interface map, aggregation, IDispatch and the
// embedded type library.
#include "harness/Check.h"
#include "morvik/MorvikFixture.h"

#include "Morvik_h.h"

#include <ole2.h>
#include <objsafe.h>

#include <string>

namespace {

const CLSID kClsid = {0x242D4259, 0x593C, 0x44F7, {0xB3, 0xE2, 0xBB, 0x71, 0x1B, 0x1D, 0xC7, 0xD0}};
const IID kIid = {0x0AAFB114, 0xF8FE, 0x47C6, {0xB0, 0x8D, 0x01, 0xB1, 0xFD, 0xDF, 0x6A, 0x5A}};
const GUID kLibid = {0x4BDEBD15, 0x6343, 0x47F1, {0x99, 0xBA, 0xC3, 0xF1, 0x21, 0xC6, 0x92, 0x20}};

struct Server {
    HMODULE module = nullptr;
    HRESULT(WINAPI* canUnloadNow)() = nullptr;
    HRESULT(WINAPI* getClassObject)(REFCLSID, REFIID, void**) = nullptr;
};

// The server loaded once for the whole program, with COM initialised on
// this thread.
const Server& TheServer()
{
    static Server s = [] {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        Server s;
        s.module = ::LoadLibraryA(morviktest::ServerPath().c_str());
        if (s.module) {
            s.canUnloadNow = reinterpret_cast<decltype(s.canUnloadNow)>(::GetProcAddress(s.module, "DllCanUnloadNow"));
            s.getClassObject = reinterpret_cast<decltype(s.getClassObject)>(::GetProcAddress(s.module, "DllGetClassObject"));
        }
        return s;
    }();
    return s;
}

IClassFactory* Factory()
{
    IClassFactory* factory = nullptr;
    if (TheServer().getClassObject) TheServer().getClassObject(kClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    return factory;
}

HRESULT CanUnloadNow() { return TheServer().canUnloadNow ? TheServer().canUnloadNow() : E_FAIL; }

// An outer object that only counts what the inner one forwards to it.
class CountingOuter : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        ++queries;
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    ULONG refs = 1;
    int queries = 0;
};

std::string CallGetNum(IGetSerial* object, const wchar_t* name)
{
    BSTR in = name ? ::SysAllocString(name) : nullptr;
    BSTR out = nullptr;
    HRESULT hr = object->GetNum(in, &out);
    std::string text = SUCCEEDED(hr) ? morviktest::Narrow(out) : "hr " + std::to_string(hr);
    ::SysFreeString(in);
    ::SysFreeString(out);
    return text;
}

}  // namespace

TEST(Frame_ExportsAndOtherClassIds)
{
    const Server& s = TheServer();
    CHECK(s.module) << "LoadLibrary " << morviktest::ServerPath() << " error " << ::GetLastError();
    CHECK(s.canUnloadNow && s.getClassObject);
    if (!s.getClassObject) return;

    const CLSID other = {0x91798A3B, 0xFEE5, 0x4158, {0xB1, 0xB1, 0xFC, 0x40, 0x0C, 0x7D, 0x47, 0x3A}};
    for (const CLSID* clsid : {&other, &kIid, &GUID_NULL}) {
        void* out = reinterpret_cast<void*>(1);
        CHECK_EQ(s.getClassObject(*clsid, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
        CHECK(out == nullptr) << "the out value is cleared";
    }
    CHECK_EQ(s.getClassObject(kClsid, IID_IClassFactory, nullptr), E_POINTER);
    void* out = reinterpret_cast<void*>(1);
    CHECK_EQ(s.getClassObject(kClsid, IID_IDispatch, &out), E_NOINTERFACE);
    CHECK(out == nullptr);
}

TEST(Frame_OneCachedFactory)
{
    IClassFactory* a = Factory();
    IClassFactory* b = Factory();
    CHECK(a && a == b) << a << " vs " << b;
    IUnknown* unknown = nullptr;
    if (a) {
        CHECK_EQ(a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    }
    CHECK(unknown == a);
    if (unknown) unknown->Release();
    if (b) b->Release();
    if (a) a->Release();
    CHECK_EQ(CanUnloadNow(), S_OK) << "the cache's own reference does not hold the DLL";
}

TEST(Frame_CreateInstanceAndAggregation)
{
    IClassFactory* factory = Factory();
    CHECK(factory);
    if (!factory) return;
    CountingOuter outer;
    struct Case {
        bool withOuter;
        const IID* iid;
        HRESULT expected;
    } cases[] = {
        {false, &IID_IUnknown, S_OK},
        {false, &IID_IDispatch, S_OK},
        {false, &kIid, S_OK},
        {false, &IID_IObjectSafety, E_NOINTERFACE},
        {true, &IID_IUnknown, S_OK},
        {true, &IID_IDispatch, CLASS_E_NOAGGREGATION},
        {true, &kIid, CLASS_E_NOAGGREGATION},
    };
    int index = 0;
    for (const Case& c : cases) {
        IUnknown* object = reinterpret_cast<IUnknown*>(1);
        HRESULT hr = factory->CreateInstance(c.withOuter ? &outer : nullptr, *c.iid,
                                             reinterpret_cast<void**>(&object));
        CHECK_EQ(hr, c.expected) << "case " << index;
        CHECK(SUCCEEDED(hr) == (object != nullptr)) << "case " << index << ": out " << object;
        if (SUCCEEDED(hr) && object) object->Release();
        CHECK_EQ(CanUnloadNow(), S_FALSE) << "case " << index << ": the factory is still held";
        ++index;
    }
    CHECK_EQ(factory->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
    CHECK_EQ(outer.refs, 1u) << "no reference left on the outer object";
    factory->Release();
    CHECK_EQ(CanUnloadNow(), S_OK);
}

TEST(Frame_AggregatedObjectDelegates)
{
    IClassFactory* factory = Factory();
    if (!factory) return;
    CountingOuter outer;
    IUnknown* inner = nullptr;
    CHECK_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)), S_OK);
    factory->Release();
    if (!inner) return;

    // The inner IUnknown answers for the object; the faces it gives out
    // count on the outer object.
    IGetSerial* face = nullptr;
    CHECK_EQ(inner->QueryInterface(kIid, reinterpret_cast<void**>(&face)), S_OK);
    CHECK_EQ(outer.refs, 2u) << "AddRef of a face goes to the outer object";
    IUnknown* viaInner = nullptr;
    CHECK_EQ(inner->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaInner)), S_OK);
    CHECK(viaInner == inner) << "the inner IUnknown is its own";
    if (viaInner) viaInner->Release();
    if (face) {
        void* any = nullptr;
        face->QueryInterface(IID_IDispatch, &any);
        CHECK_EQ(outer.queries, 1) << "QueryInterface of a face goes to the outer object";
        CHECK_EQ(CallGetNum(face, L"none.dll"), "103");
        face->Release();
    }
    CHECK_EQ(outer.refs, 1u);
    CHECK_EQ(CanUnloadNow(), S_FALSE) << "an aggregated object holds the DLL";
    inner->Release();
    CHECK_EQ(CanUnloadNow(), S_OK);
}

TEST(Frame_InterfaceMap)
{
    IClassFactory* factory = Factory();
    if (!factory) return;
    IUnknown* object = nullptr;
    factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object));
    factory->Release();
    CHECK(object);
    if (!object) return;
    for (const IID* iid : {&IID_IUnknown, &IID_IDispatch, &kIid}) {
        void* p = nullptr;
        CHECK_EQ(object->QueryInterface(*iid, &p), S_OK);
        CHECK(p == object) << "all on the dual face";
        if (p) static_cast<IUnknown*>(p)->Release();
    }
    for (const IID* iid : {&IID_IObjectSafety, &IID_ISupportErrorInfo, &IID_IProvideClassInfo,
                           &IID_IClassFactory, &IID_IPersist}) {
        void* p = reinterpret_cast<void*>(1);
        CHECK_EQ(object->QueryInterface(*iid, &p), E_NOINTERFACE);
        CHECK(p == nullptr);
    }
    CHECK_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    CHECK_EQ(object->Release(), 0u);
}

TEST(Frame_CanUnloadNow)
{
    CHECK_EQ(CanUnloadNow(), S_OK) << "nothing held at the start";

    IClassFactory* factory = Factory();
    if (!factory) return;
    CHECK_EQ(CanUnloadNow(), S_FALSE) << "only the factory is held";

    IUnknown* object = nullptr;
    factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object));
    factory->LockServer(TRUE);
    factory->Release();
    CHECK_EQ(CanUnloadNow(), S_FALSE) << "a live object and a server lock";
    if (object) object->Release();
    CHECK_EQ(CanUnloadNow(), S_FALSE) << "the server lock";

    factory = Factory();
    factory->LockServer(FALSE);
    factory->LockServer(TRUE);
    factory->Release();
    CHECK_EQ(CanUnloadNow(), S_FALSE) << "LockServer(TRUE) alone";
    factory = Factory();
    factory->LockServer(FALSE);
    factory->Release();
    CHECK_EQ(CanUnloadNow(), S_OK) << "after the matching LockServer(FALSE)";
}

TEST(Frame_Dispatch)
{
    IClassFactory* factory = Factory();
    if (!factory) return;
    IGetSerial* object = nullptr;
    factory->CreateInstance(nullptr, kIid, reinterpret_cast<void**>(&object));
    factory->Release();
    CHECK(object);
    if (!object) return;

    UINT count = 0;
    CHECK_EQ(object->GetTypeInfoCount(&count), S_OK);
    CHECK_EQ(count, 1u);
    ITypeInfo* info = nullptr;
    CHECK_EQ(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), S_OK);
    if (info) {
        TYPEATTR* attr = nullptr;
        if (SUCCEEDED(info->GetTypeAttr(&attr))) {
            CHECK(::IsEqualGUID(attr->guid, kIid));
            info->ReleaseTypeAttr(attr);
        }
        info->Release();
    }
    CHECK_EQ(object->GetTypeInfo(0, 0, nullptr), E_POINTER);

    struct NameCase {
        const wchar_t* name;
        HRESULT hr;
        DISPID id;
    } names[] = {
        {L"GetNum", S_OK, 1},
        {L"getnum", S_OK, 1},  // not in our table: the type information answers
        {L"GetSerialNumber", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},
    };
    for (const NameCase& c : names) {
        LPOLESTR name = const_cast<LPOLESTR>(c.name);
        DISPID id = 12345;
        HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
        CHECK_EQ(hr, c.hr) << morviktest::Narrow(c.name);
        if (SUCCEEDED(c.hr)) {
            CHECK_EQ(id, c.id) << morviktest::Narrow(c.name);
        }
    }

    // Invoke of DISPID 1 with one string argument returns the method's string.
    VARIANT arg;
    ::VariantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstrVal = ::SysAllocString(L"TYPKCS11.DLL");
    DISPPARAMS params = {&arg, nullptr, 1, 0};
    VARIANT result;
    ::VariantInit(&result);
    CHECK_EQ(object->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                            nullptr, nullptr), S_OK);
    CHECK_EQ(result.vt, VT_BSTR);
    if (result.vt == VT_BSTR) {
        CHECK_EQ(morviktest::Narrow(result.bstrVal), "103");
    }
    ::VariantClear(&result);
    ::VariantClear(&arg);

    // The interface table directly; a string the out pointer held before
    // is neither read nor freed.
    CHECK_EQ(CallGetNum(object, nullptr), "103");
    CHECK_EQ(CallGetNum(object, L""), "103");
    BSTR in = ::SysAllocString(L"x.dll");
    BSTR out = reinterpret_cast<BSTR>(static_cast<uintptr_t>(0x10));
    CHECK_EQ(object->GetNum(in, &out), S_OK);
    CHECK(out && morviktest::Narrow(out) == "103");
    ::SysFreeString(out);
    ::SysFreeString(in);
    CHECK_EQ(object->GetNum(nullptr, nullptr), E_POINTER);
    object->Release();
}

TEST(Frame_EmbeddedTypeLibrary)
{
    const std::string server = morviktest::ServerPath();
    std::wstring path(server.begin(), server.end());
    ITypeLib* library = nullptr;
    CHECK_EQ(::LoadTypeLib(path.c_str(), &library), S_OK);
    if (!library) return;

    TLIBATTR* libAttr = nullptr;
    library->GetLibAttr(&libAttr);
    if (libAttr) {
        CHECK(::IsEqualGUID(libAttr->guid, kLibid));
        CHECK_EQ(libAttr->wMajorVerNum, 1);
        CHECK_EQ(libAttr->wMinorVerNum, 0);
        CHECK_EQ(libAttr->lcid, 0u);
        library->ReleaseTLibAttr(libAttr);
    }
    BSTR name = nullptr, doc = nullptr;
    library->GetDocumentation(-1, &name, &doc, nullptr, nullptr);
    CHECK_EQ(morviktest::Narrow(name), "MORVIKLib");
    CHECK_EQ(morviktest::Narrow(doc), "Morvik 1.0 Type Library");
    ::SysFreeString(name);
    ::SysFreeString(doc);

    struct TypeCase {
        const GUID* guid;
        TYPEKIND kind;
        WORD flags;
        const char* help;
    } types[] = {
        {&kClsid, TKIND_COCLASS, TYPEFLAG_FCANCREATE, "GetSerial Class"},
        // The dispatch view of the dual interface; its own table is below.
        {&kIid, TKIND_DISPATCH, TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE, "IGetSerial Interface"},
    };
    for (const TypeCase& c : types) {
        ITypeInfo* info = nullptr;
        CHECK_EQ(library->GetTypeInfoOfGuid(*c.guid, &info), S_OK) << c.help;
        if (!info) continue;
        TYPEATTR* attr = nullptr;
        info->GetTypeAttr(&attr);
        if (attr) {
            CHECK_EQ(attr->typekind, c.kind) << c.help;
            CHECK_EQ(attr->wTypeFlags, c.flags) << c.help;
            info->ReleaseTypeAttr(attr);
        }
        BSTR help = nullptr;
        info->GetDocumentation(MEMBERID_NIL, nullptr, &help, nullptr, nullptr);
        CHECK_EQ(morviktest::Narrow(help), c.help);
        ::SysFreeString(help);
        info->Release();
    }

    // GetNum in the interface's own table: eighth entry, DISPID 1, (BSTR in,
    // BSTR* out retval).
    ITypeInfo* dispatch = nullptr;
    library->GetTypeInfoOfGuid(kIid, &dispatch);
    ITypeInfo* vtable = nullptr;
    HREFTYPE ref = 0;
    if (dispatch && SUCCEEDED(dispatch->GetRefTypeOfImplType(-1, &ref))) dispatch->GetRefTypeInfo(ref, &vtable);
    CHECK(vtable) << "the dual interface's table";
    if (vtable) {
        TYPEATTR* attr = nullptr;
        vtable->GetTypeAttr(&attr);
        CHECK(attr && attr->cFuncs == 1);
        if (attr) {
            CHECK_EQ(attr->typekind, TKIND_INTERFACE);
            CHECK_EQ(attr->wTypeFlags, TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE);
            vtable->ReleaseTypeAttr(attr);
        }
        FUNCDESC* f = nullptr;
        CHECK_EQ(vtable->GetFuncDesc(0, &f), S_OK);
        if (f) {
            CHECK_EQ(f->memid, 1);
            CHECK_EQ(f->invkind, INVOKE_FUNC);
            CHECK_EQ(f->callconv, CC_STDCALL);
            CHECK_EQ(f->oVft, static_cast<SHORT>(7 * sizeof(void*)));
            CHECK_EQ(f->cParams, 2);
            CHECK_EQ(f->cParamsOpt, 0);
            CHECK_EQ(f->elemdescFunc.tdesc.vt, VT_HRESULT);
            if (f->cParams == 2) {
                CHECK_EQ(f->lprgelemdescParam[0].tdesc.vt, VT_BSTR);
                CHECK_EQ(f->lprgelemdescParam[0].paramdesc.wParamFlags, PARAMFLAG_FIN);
                CHECK_EQ(f->lprgelemdescParam[1].tdesc.vt, VT_PTR);
                CHECK_EQ(f->lprgelemdescParam[1].paramdesc.wParamFlags, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
            }
            BSTR names[3] = {};
            UINT got = 0;
            vtable->GetNames(1, names, 3, &got);
            CHECK_EQ(got, 3u);
            CHECK_EQ(morviktest::Narrow(names[0]) + "," + morviktest::Narrow(names[1]) + "," +
                         morviktest::Narrow(names[2]), "GetNum,Name,Serial");
            for (BSTR n : names) ::SysFreeString(n);
            BSTR help = nullptr;
            vtable->GetDocumentation(1, nullptr, &help, nullptr, nullptr);
            CHECK_EQ(morviktest::Narrow(help), "method GetNum");
            ::SysFreeString(help);
            vtable->ReleaseFuncDesc(f);
        }
        vtable->Release();
    }
    if (dispatch) dispatch->Release();
    library->Release();
}
