#include "CallDriver.h"

#include "ListEncoding.h"

std::unique_ptr<CCallData> MakeCallData(const std::wstring& identifier,
                                        const Arguments& arguments) {
    std::unique_ptr<CCallData> data(new CCallData);
    data->identifier = CPluginString(identifier.c_str(), static_cast<int>(identifier.size()));
    for (const auto& argument : arguments)
        data->SetArgument(CPluginString(argument.first.c_str()),
                          CPluginString(argument.second.c_str()));
    return data;
}

int StartAsyncCall(PluginCommandHandler handler, const std::wstring& identifier,
                   const Arguments& arguments) {
    std::unique_ptr<CPluginCall> call(
        new CPluginCall(MakeCallData(identifier, arguments), nullptr));
    return StartCommandThread(handler, nullptr, std::move(call), nullptr);
}

int RunSyncCall(PluginCommandHandler handler, const Arguments& arguments, std::wstring* encoded,
                const CCommandInfo* description) {
    HANDLE done = CreateSemaphoreA(nullptr, 0, 1, nullptr);
    CResultList results(1);
    int code = 0;
    std::unique_ptr<CCallData> data = MakeCallData(L"", arguments);
    data->results = &results;
    data->description = description;
    std::unique_ptr<CPluginCall> call(new CPluginCall(std::move(data), &code));
    StartCommandThread(handler, nullptr, std::move(call), done);
    // Bounded: the test handlers return at once.
    const bool finished = WaitForSingleObject(done, 10000) == WAIT_OBJECT_0;
    CloseHandle(done);
    if (!finished)
        return -1000;
    CPluginString out;
    EncodeResultList(results, out);
    if (encoded)
        *encoded = std::wstring(out.GetBSTR(), out.GetLength());
    return code;
}

bool RunAsyncCallToEnd(PluginCommandHandler handler, const std::wstring& identifier,
                       const Arguments& arguments) {
    HANDLE done = CreateSemaphoreA(nullptr, 0, 1, nullptr);
    std::unique_ptr<CPluginCall> call(
        new CPluginCall(MakeCallData(identifier, arguments), nullptr));
    StartCommandThread(handler, nullptr, std::move(call), done);
    // Bounded: the test handlers return at once.
    const bool finished = WaitForSingleObject(done, 10000) == WAIT_OBJECT_0;
    CloseHandle(done);
    return finished;
}
