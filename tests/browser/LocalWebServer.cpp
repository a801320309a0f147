#include "LocalWebServer.h"

#include <ws2tcpip.h>

LocalWebServer::LocalWebServer(int status, const std::string& body) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    m_response = "HTTP/1.0 " + std::to_string(status) + (status < 400 ? " OK" : " Error") +
                 "\r\nContent-Type: text/html\r\n" +
                 "Content-Length: " + std::to_string(body.size()) +
                 "\r\nConnection: close\r\n\r\n" + body;
    m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int size = sizeof(address);
    if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(m_listener, 8) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

LocalWebServer::~LocalWebServer() {
    m_stopping = true;
    // Closing the listener ends the accept the thread waits in.
    closesocket(m_listener);
    if (m_thread.joinable())
        m_thread.join();
    WSACleanup();
}

std::string LocalWebServer::Address(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

void LocalWebServer::Serve() {
    while (!m_stopping) {
        SOCKET client = accept(m_listener, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            return;
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const int got = recv(client, buffer, sizeof(buffer), 0);
            if (got <= 0)
                break;
            request.append(buffer, static_cast<size_t>(got));
        }
        send(client, m_response.data(), static_cast<int>(m_response.size()), 0);
        shutdown(client, SD_SEND);
        closesocket(client);
    }
}
