// A gate in front of the local definition service, whose address the program is given: it takes the
// program's connections and, while held, answers none of them, as a silent server would; once released,
// it passes each request on to the service and the answer back. (The service itself answers every
// connection on a worker of its own, so holding one of its connections no longer stalls it.) Never
// released, it is a service that takes connections and stays silent.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace grimsweep::gui {

class HeldService {
public:
    explicit HeldService(int servicePort) : servicePort_(servicePort) {
        WSADATA data;
        started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = Loopback(0);
        int length = sizeof address;
        listening_ = listener_ != INVALID_SOCKET &&
                     bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                     listen(listener_, 8) == 0 &&
                     getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) == 0;
        port_ = ntohs(address.sin_port);
        if (listening_) {
            acceptor_ = std::thread([this] { Accept(); });
        }
    }
    ~HeldService() {
        stopping_ = true;
        if (acceptor_.joinable()) {
            acceptor_.join();
        }
        for (std::thread& relay : relays_) {
            relay.join();
        }
        if (listener_ != INVALID_SOCKET) {
            closesocket(listener_);
        }
        if (started_) {
            WSACleanup();
        }
    }
    HeldService(const HeldService&) = delete;
    HeldService& operator=(const HeldService&) = delete;

    bool Listening() const { return listening_; }
    std::string Address() const { return "http://127.0.0.1:" + std::to_string(port_); }
    void Hold() { released_ = false; }
    void Release() { released_ = true; }

private:
    static sockaddr_in Loopback(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<u_short>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return address;
    }
    static bool Readable(SOCKET s) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval wait{0, 50000};
        return select(0, &set, nullptr, nullptr, &wait) > 0;
    }

    void Accept() {
        while (!stopping_) {
            if (!Readable(listener_)) {
                continue;
            }
            const SOCKET client = accept(listener_, nullptr, nullptr);
            if (client != INVALID_SOCKET) {
                relays_.emplace_back([this, client] { Relay(client); });
            }
        }
    }

    // Waits for the release, then passes the request head on and the whole answer back.
    void Relay(SOCKET client) {
        while (!released_ && !stopping_) {
            Sleep(20);
        }
        std::string request;
        char buffer[4096];
        while (!stopping_ && request.find("\r\n\r\n") == std::string::npos) {
            if (!Readable(client)) {
                continue;
            }
            const int got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0) {
                break;
            }
            request.append(buffer, static_cast<std::size_t>(got));
        }
        const SOCKET service = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        const sockaddr_in address = Loopback(servicePort_);
        if (!stopping_ && service != INVALID_SOCKET &&
            connect(service, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
            send(service, request.data(), static_cast<int>(request.size()), 0) ==
                static_cast<int>(request.size())) {
            for (int got; (got = recv(service, buffer, sizeof buffer, 0)) > 0;) {
                if (send(client, buffer, got, 0) != got) {
                    break;
                }
            }
        }
        if (service != INVALID_SOCKET) {
            closesocket(service);
        }
        shutdown(client, SD_SEND);
        closesocket(client);
    }

    int servicePort_;
    bool started_ = false;
    bool listening_ = false;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> released_ = false;
    std::atomic<bool> stopping_ = false;
    std::thread acceptor_;
    std::vector<std::thread> relays_;
};

} // namespace grimsweep::gui
