#include "PageText.h"

#include <mshtml.h>

#include "ComRef.h"
#include "NarrowText.h"
#include "OwnedBstr.h"

CString GetPageText(IWebBrowser2* control) {
    if (!control)
        return CString();
    ComRef<IDispatch> document;
    if (FAILED(control->get_Document(document.Out())) || !document)
        return CString();
    ComRef<IHTMLDocument2> htmlDocument = document.Query<IHTMLDocument2>(IID_IHTMLDocument2);
    if (!htmlDocument)
        return CString();
    ComRef<IHTMLElement> body;
    if (FAILED(htmlDocument->get_body(body.Out())) || !body)
        return CString();
    OwnedBstr html;
    if (FAILED(body->get_outerHTML(html.Out())))
        return CString();
    return NarrowFromBstr(html.Get());
}
