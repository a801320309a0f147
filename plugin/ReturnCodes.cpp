#include "ReturnCodes.h"

const wchar_t* ReturnCodeText(int code) {
    static const wchar_t* const texts[] = {
        L"The plugin raised an unknown exception.",
        L"The plugin alias name specified does not exist.",
        L"The command specified does not exist.",
        L"The plugin raised a 'COM' exception.",
        L"The command can only be called asynchronously.",
        L"The command failed to execute due to a temporary system resource error.",
    };
    return code <= -1 && code >= -6 ? texts[-code - 1] : nullptr;
}
