#pragma once
// A one-page web service on 127.0.0.1 for the length of a test: answers
// every request with the same status and body until it goes.

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

class LocalWebServer {
public:
    LocalWebServer(int status, const std::string& body);
    LocalWebServer(const LocalWebServer&) = delete;
    LocalWebServer& operator=(const LocalWebServer&) = delete;
    ~LocalWebServer();

    // http://127.0.0.1:PORT + path
    std::string Address(const std::string& path) const;

private:
    void Serve();

    SOCKET m_listener = INVALID_SOCKET;
    int m_port = 0;
    std::string m_response;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};
