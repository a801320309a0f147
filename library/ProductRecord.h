#pragma once
// Brings the web service's values for the current product into theFacts.
//
// The request: theServiceBaseURL + "product.php?company=C&software=S&version=V"
// with the remembered company, software and version, each percent-encoded.
// The reply (HTTP 200, any content type) is text in lines ending in LF (CR LF
// accepted):
//
//   brindlecode-record 1        the first line, exactly
//   key=value                   any number of these
//   end                         the last line; lines after it are ignored
//
// A value may hold any byte but NUL; "\n", "\r" and "\\" in it stand for a
// line feed, a carriage return and a backslash. Lines without "=", with an
// empty key, an unknown escape or a zero byte are skipped, and so are keys
// that are not service keys. A product the service does not list gets a
// record without l_latest.

#include "ProductContext.h"

#include <windows.h>

// Status of an exchange whose reply was not a whole record (no header line,
// or cut off before its end line).
const int kRecordStatusUnreadable = -13;

// The exchange's own bounds, so that no reply can hold the library for long:
// it reads at most kRecordReplyLimit bytes (a longer reply is no record) and
// ends within the exchange limit, however slowly the reply arrives.
const int kRecordReplyLimit = 1 << 20;
const DWORD kRecordExchangeLimitMs = 60000;
// Sets the exchange limit for the exchanges that start from now on.
void SetRecordExchangeLimit(DWORD milliseconds);

// The service keys a successful refresh assigns, in key order. n_result holds
// the integer service value that the About and contact windows return.
extern const char* const theServiceKeys[];
extern const int theServiceKeyCount;

// Asks the service about theCompanyName, theSoftwareName and
// theCurrentVersion; run after LoadContext. On success every service key is
// assigned (absent ones as empty text) and theLastStatus is 0. On failure
// theFacts is left as it was and theLastStatus is non-zero: the fetch's
// negative status, the HTTP status code of a reply other than 200, or
// kRecordStatusUnreadable.
void RefreshProductRecord();

// The product's integer service value: n_result read as atoi does (0 when
// the record has none or it is not a number).
int ServiceResultValue();

// The request address for a product.
CString GetProductRecordURL(const CString& company, const CString& software,
                            const CString& version);

// Reads a reply into values (service keys only). False when the reply is not
// a whole record; values is then unspecified.
bool ParseProductRecord(const CString& reply, ParamMap& values);
