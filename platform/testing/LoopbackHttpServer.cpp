#include "LoopbackHttpServer.h"

#include <ws2tcpip.h>

#include <stdexcept>

namespace vorlan::testing {

LoopbackHttpServer::LoopbackHttpServer() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup");
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int size = sizeof address;
    if (listener_ == INVALID_SOCKET ||
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 8) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Loop(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stopping_ = true;
    closesocket(listener_);  // wakes accept()
    thread_.join();
    for (SOCKET client : unanswered_) closesocket(client);
    WSACleanup();
}

void LoopbackHttpServer::Serve(const std::string& path, const std::string& body, int status,
                               const std::string& contentType) {
    std::lock_guard<std::mutex> lock(mutex_);
    replies_[path] = {status, body, contentType};
}

void LoopbackHttpServer::NeverAnswer(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    replies_[path] = {0, {}, {}, false};
}

std::string LoopbackHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackHttpServer::Loop() {
    while (!stopping_) {
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        if (Answer(client))
            closesocket(client);
        else
            unanswered_.push_back(client);
    }
}

bool LoopbackHttpServer::Answer(SOCKET client) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        int n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) return true;
        request.append(buffer, static_cast<size_t>(n));
    }
    ++requests_;
    // "GET /path HTTP/1.1"
    size_t start = request.find(' ');
    size_t end = start == std::string::npos ? start : request.find(' ', start + 1);
    std::string path = end == std::string::npos ? "" : request.substr(start + 1, end - start - 1);

    Reply reply = {404, "not found", "text/plain"};
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = replies_.find(path);
        if (found != replies_.end()) reply = found->second;
    }
    if (!reply.answered) return false;
    std::string head = "HTTP/1.0 " + std::to_string(reply.status) +
                       (reply.status == 200 ? " OK" : " Error") +
                       "\r\nContent-Type: " + reply.contentType + "\r\nContent-Length: " +
                       std::to_string(reply.body.size()) + "\r\nConnection: close\r\n\r\n";
    std::string whole = head + reply.body;
    for (size_t sent = 0; sent < whole.size();) {
        int n = send(client, whole.data() + sent, static_cast<int>(whole.size() - sent), 0);
        if (n <= 0) return true;
        sent += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace vorlan::testing
