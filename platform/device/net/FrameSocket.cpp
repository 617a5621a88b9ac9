#include "FrameSocket.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>
#include <mutex>


namespace vorlan::device {

bool StartWinsock() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        WSADATA data;
        started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    });
    return started;
}

void TuneSocket(SOCKET s) {
    BOOL on = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    int buffer = 4 << 20;
    setsockopt(s, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&buffer), sizeof buffer);
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&buffer), sizeof buffer);
}

bool FrameSocket::Connect(uint16_t port) {
    Close();
    if (!StartWinsock()) return false;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return false;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        closesocket(s);
        return false;
    }
    TuneSocket(s);
    socket_ = s;
    return true;
}

bool FrameSocket::Send(const std::vector<uint8_t>& frame) {
    const char* data = reinterpret_cast<const char*>(frame.data());
    size_t left = frame.size();
    while (left > 0) {
        int chunk = left > (1u << 30) ? (1 << 30) : static_cast<int>(left);
        int sent = send(socket_, data, chunk, 0);
        if (sent <= 0) return false;
        data += sent;
        left -= static_cast<size_t>(sent);
    }
    return true;
}

bool FrameSocket::ReceiveAll(uint8_t* data, size_t size) {
    size_t buffered = std::min(size, aheadEnd_ - aheadStart_);
    std::memcpy(data, ahead_.data() + aheadStart_, buffered);
    aheadStart_ += buffered;
    data += buffered;
    size -= buffered;
    if (size > 0 && size < ahead_.size()) {
        // A short remainder: read ahead, so the next frame may come along.
        aheadStart_ = aheadEnd_ = 0;
        while (aheadEnd_ < size) {
            int got = recv(socket_, reinterpret_cast<char*>(ahead_.data() + aheadEnd_),
                           static_cast<int>(ahead_.size() - aheadEnd_), 0);
            if (got <= 0) return false;
            aheadEnd_ += static_cast<size_t>(got);
        }
        std::memcpy(data, ahead_.data(), size);
        aheadStart_ = size;
        return true;
    }
    while (size > 0) {
        int chunk = size > (1u << 30) ? (1 << 30) : static_cast<int>(size);
        int got = recv(socket_, reinterpret_cast<char*>(data), chunk, 0);
        if (got <= 0) return false;
        data += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

void FrameSocket::Shutdown() {
    if (socket_ != INVALID_SOCKET) shutdown(socket_, SD_BOTH);
}

void FrameSocket::Close() {
    if (socket_ != INVALID_SOCKET) {
        closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }
}

}  // namespace vorlan::device
