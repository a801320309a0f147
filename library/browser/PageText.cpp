#include "PageText.h"

#include <mshtml.h>

#include "ComBSTR.h"
#include "ComPtr.h"
#include "NarrowText.h"

CString GetPageText(IWebBrowser2* control) {
    if (!control)
        return CString();
    CComPtr<IDispatch> document;
    if (FAILED(control->get_Document(document.ReleaseAndGetAddressOf())) || !document)
        return CString();
    CComPtr<IHTMLDocument2> htmlDocument;
    if (FAILED(document.QueryInterface(htmlDocument.ReleaseAndGetAddressOf())) || !htmlDocument)
        return CString();
    CComPtr<IHTMLElement> body;
    if (FAILED(htmlDocument->get_body(body.ReleaseAndGetAddressOf())) || !body)
        return CString();
    CComBSTR html;
    if (FAILED(body->get_outerHTML(html.ReleaseAndGetAddressOf())))
        return CString();
    return NarrowFromBstr(html);
}
