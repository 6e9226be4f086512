#include "address/regexp_component.h"

#include "support/com_ptr.h"

// The interfaces declared only as far as they are called, each method at its position in the
// vtable (the three of IUnknown and the four of IDispatch come first, at 0 to 6). Not in an
// anonymous namespace: the compiler would know that no class here implements them, take every
// call through them for unreachable and drop it.
namespace regexp_interfaces {

struct IRegExp : IDispatch
{
    virtual HRESULT STDMETHODCALLTYPE get_Pattern(BSTR* pattern) = 0;              // 7
    virtual HRESULT STDMETHODCALLTYPE put_Pattern(BSTR pattern) = 0;               // 8
    virtual HRESULT STDMETHODCALLTYPE get_IgnoreCase(VARIANT_BOOL* ignore) = 0;    // 9
    virtual HRESULT STDMETHODCALLTYPE put_IgnoreCase(VARIANT_BOOL ignore) = 0;     // 10
    virtual HRESULT STDMETHODCALLTYPE get_Global(VARIANT_BOOL* global) = 0;        // 11
    virtual HRESULT STDMETHODCALLTYPE put_Global(VARIANT_BOOL global) = 0;         // 12
    virtual HRESULT STDMETHODCALLTYPE Execute(BSTR text, IDispatch** matches) = 0; // 13
};

struct IMatchCollection2 : IDispatch
{
    virtual HRESULT STDMETHODCALLTYPE get_Item(LONG index, IDispatch** match) = 0; // 7
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* count) = 0;                  // 8
};

struct IMatch2 : IDispatch
{
    virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR* value) = 0;      // 7
    virtual HRESULT STDMETHODCALLTYPE get_FirstIndex(LONG* index) = 0; // 8
};

} // namespace regexp_interfaces

namespace {

using regexp_interfaces::IMatch2;
using regexp_interfaces::IMatchCollection2;
using regexp_interfaces::IRegExp;

constexpr CLSID CLSID_RegExp = {0x3F4DACA4, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};
constexpr IID IID_IRegExp = {0x3F4DACA0, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};
constexpr IID IID_IMatchCollection2 = {0x3F4DACB2, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};
constexpr IID IID_IMatch2 = {0x3F4DACB1, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};

// Context 23: every kind of server the system may offer.
constexpr DWORD AnyServer = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

// A call that reports success but hands back no object counts as failed.
template <typename Interface> HRESULT Checked(HRESULT result, const ComPtr<Interface>& object)
{
    return SUCCEEDED(result) && !object ? E_POINTER : result;
}

HRESULT CreateRegExp(ComPtr<IRegExp>& regExp)
{
    ComPtr<IUnknown> unknown;
    HRESULT result =
        Checked(CoCreateInstance(CLSID_RegExp, nullptr, AnyServer, IID_IUnknown, unknown.putVoid()), unknown);
    if (FAILED(result))
        return result;
    result = OleRun(unknown.get());
    if (FAILED(result))
        return result;
    return Checked(unknown->QueryInterface(IID_IRegExp, regExp.putVoid()), regExp);
}

UniqueBstr MakeBstr(std::wstring_view text)
{
    return UniqueBstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

HRESULT ReadMatch(IMatchCollection2* collection, LONG index, std::vector<RegExpMatch>& matches)
{
    ComPtr<IDispatch> item;
    HRESULT result = Checked(collection->get_Item(index, item.put()), item);
    if (FAILED(result))
        return result;
    ComPtr<IMatch2> match;
    result = Checked(item->QueryInterface(IID_IMatch2, match.putVoid()), match);
    if (FAILED(result))
        return result;
    UniqueBstr value;
    result = match->get_Value(value.put());
    if (FAILED(result))
        return result;
    LONG firstIndex = -1;
    result = match->get_FirstIndex(&firstIndex);
    if (FAILED(result))
        return result;
    matches.push_back({firstIndex, std::wstring(value.get(), SysStringLen(value.get()))});
    return result;
}

} // namespace

HRESULT ExecuteRegExp(std::wstring_view pattern, std::wstring_view text, std::vector<RegExpMatch>& matches)
{
    ComPtr<IRegExp> regExp;
    HRESULT result = CreateRegExp(regExp);
    if (FAILED(result))
        return result;
    result = regExp->put_Global(VARIANT_TRUE);
    if (FAILED(result))
        return result;
    UniqueBstr patternText = MakeBstr(pattern);
    result = regExp->put_Pattern(patternText.get());
    if (FAILED(result))
        return result;

    UniqueBstr input = MakeBstr(text);
    ComPtr<IDispatch> executed;
    result = Checked(regExp->Execute(input.get(), executed.put()), executed);
    if (FAILED(result))
        return result;
    ComPtr<IMatchCollection2> collection;
    result = Checked(executed->QueryInterface(IID_IMatchCollection2, collection.putVoid()), collection);
    if (FAILED(result))
        return result;
    LONG count = 0;
    result = collection->get_Count(&count);
    for (LONG i = 0; SUCCEEDED(result) && i < count; ++i)
        result = ReadMatch(collection.get(), i, matches);
    return result;
}
