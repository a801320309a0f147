#include "ServiceAddress.h"

#if !defined(BRC_SERVICE_BASE_URL) || !defined(BRC_SERVICE_HOST)
#error "BRC_SERVICE_BASE_URL and BRC_SERVICE_HOST name the web service"
#endif

const char theDefaultServiceBaseURL[] = BRC_SERVICE_BASE_URL;
const char theServiceHostName[] = BRC_SERVICE_HOST;
