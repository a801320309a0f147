#include "LoopbackHttpServer.h"

#include <ws2tcpip.h>

#include <algorithm>

namespace {

const char* ReasonFor(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    default:
        return "Error";
    }
}

bool SendAll(SOCKET connection, const char* bytes, size_t length) {
    while (length > 0) {
        const int sent =
            send(connection, bytes, static_cast<int>(std::min<size_t>(length, 65536)), 0);
        if (sent <= 0)
            return false;
        bytes += sent;
        length -= static_cast<size_t>(sent);
    }
    return true;
}

// The path of a "GET <path> HTTP/1.x" request, read up to its empty line.
std::string ReadRequestPath(SOCKET connection) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const int got = recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0)
            return std::string();
        request.append(buffer, static_cast<size_t>(got));
    }
    const size_t first = request.find(' ');
    const size_t last = request.find(' ', first + 1);
    if (first == std::string::npos || last == std::string::npos)
        return std::string();
    return request.substr(first + 1, last - first - 1);
}

} // namespace

CLoopbackHttpServer::CLoopbackHttpServer() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return;
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (listener == INVALID_SOCKET ||
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 8) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener != INVALID_SOCKET)
            closesocket(listener);
        return;
    }
    m_listener = listener;
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread(&CLoopbackHttpServer::AcceptLoop, this);
}

CLoopbackHttpServer::~CLoopbackHttpServer() {
    if (m_listener != INVALID_SOCKET) {
        // Ends the accept loop, which then waits for the connection threads.
        closesocket(m_listener);
        m_acceptor.join();
    }
    WSACleanup();
}

void CLoopbackHttpServer::SetAnswer(const std::string& path, const HttpAnswer& answer) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_answers[path] = answer;
}

std::string CLoopbackHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

int CLoopbackHttpServer::Requests() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

int CLoopbackHttpServer::MostAtOnce() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_mostAtOnce;
}

void CLoopbackHttpServer::AcceptLoop() {
    std::vector<std::thread> connections;
    for (;;) {
        // Waits for the next download; fails once the listener is closed.
        SOCKET connection = accept(m_listener, nullptr, nullptr);
        if (connection == INVALID_SOCKET)
            break;
        connections.emplace_back(&CLoopbackHttpServer::Serve, this, connection);
    }
    for (std::thread& connection : connections)
        connection.join();
}

void CLoopbackHttpServer::Serve(SOCKET connection) {
    // A client that never sends its request must not hold the test.
    DWORD timeout = 5000;
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
               sizeof timeout);
    const std::string path = ReadRequestPath(connection);
    CountConnection(+1);
    const HttpAnswer answer = AnswerFor(path);
    const std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " " +
                             ReasonFor(answer.status) +
                             "\r\nContent-Length: " + std::to_string(answer.body.size()) +
                             "\r\nContent-Type: application/octet-stream"
                             "\r\nConnection: close\r\n\r\n";
    bool open = SendAll(connection, head.data(), head.size());
    const size_t total = std::min(answer.sendOnly, answer.body.size());
    const size_t pieces = static_cast<size_t>(std::max(answer.pieces, 1));
    for (size_t piece = 0; piece < pieces; ++piece) {
        // The download ends here as far as the count goes: the client cannot
        // have the last piece, and start another download, before it is sent.
        if (piece + 1 == pieces)
            CountConnection(-1);
        const size_t first = total * piece / pieces;
        const size_t end = total * (piece + 1) / pieces;
        open = open && SendAll(connection, answer.body.data() + first, end - first);
        // Spreads the body over time so that overlapping downloads overlap.
        if (open && piece + 1 < pieces)
            Sleep(answer.pause);
    }
    shutdown(connection, SD_SEND);
    closesocket(connection);
}

HttpAnswer CLoopbackHttpServer::AnswerFor(const std::string& path) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_answers.find(path);
    if (found != m_answers.end())
        return found->second;
    HttpAnswer missing;
    missing.status = 404;
    missing.body = "<html><body><h1>Not Found</h1></body></html>";
    return missing;
}

void CLoopbackHttpServer::CountConnection(int change) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (change > 0)
        ++m_requests;
    m_active += change;
    m_mostAtOnce = std::max(m_mostAtOnce, m_active);
}
