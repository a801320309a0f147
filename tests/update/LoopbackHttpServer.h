#pragma once
// A small HTTP server on 127.0.0.1 inside the test process, for downloads
// whose answers file addresses cannot give: an error status, a connection
// cut mid-body, a slow body. Each connection is served on a thread of its
// own, so overlapping downloads show as overlapping connections.

#include <winsock2.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct HttpAnswer {
    int status = 200;
    std::string body;
    // Bytes of the body sent before the connection is closed; the announced
    // length is the whole body's.
    size_t sendOnly = std::string::npos;
    // The body goes out in this many pieces with a pause after each.
    int pieces = 1;
    DWORD pause = 0;
};

class CLoopbackHttpServer {
public:
    CLoopbackHttpServer();
    // Stops listening and waits for every connection thread.
    ~CLoopbackHttpServer();
    CLoopbackHttpServer(const CLoopbackHttpServer&) = delete;
    CLoopbackHttpServer& operator=(const CLoopbackHttpServer&) = delete;

    bool IsListening() const { return m_listener != INVALID_SOCKET; }
    // Other paths are answered 404 with a small page.
    void SetAnswer(const std::string& path, const HttpAnswer& answer);
    std::string Url(const std::string& path) const;

    int Requests() const;
    // Most downloads in progress at once, each counted from its request
    // until its last piece of body starts to go out.
    int MostAtOnce() const;

private:
    void AcceptLoop();
    void Serve(SOCKET connection);
    HttpAnswer AnswerFor(const std::string& path) const;
    void CountConnection(int change);

    SOCKET m_listener = INVALID_SOCKET;
    int m_port = 0;
    mutable std::mutex m_mutex;
    std::map<std::string, HttpAnswer> m_answers;
    int m_requests = 0;
    int m_active = 0;
    int m_mostAtOnce = 0;
    std::thread m_acceptor;
};
