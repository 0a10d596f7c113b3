// grimsweep_trickle_server: a web server as slow as a broken one can be. It listens on a free port of
// 127.0.0.1, prints "listening on http://127.0.0.1:PORT", and answers every request with a 200 head that
// announces a large body, of which it then sends one byte every half second, for ten minutes at most.
#include <winsock2.h>

#include <cstdio>
#include <string>
#include <thread>

namespace {

void Trickle(SOCKET client) {
    char head[4096];
    recv(client, head, sizeof head, 0);
    const std::string start = "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\nConnection: close\r\n\r\n";
    send(client, start.data(), static_cast<int>(start.size()), 0);
    for (int i = 0; i < 1200; ++i) {
        if (send(client, "1", 1, 0) != 1) {
            break; // the reader gave up
        }
        Sleep(500);
    }
    closesocket(client);
}

} // namespace

int main() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        return 1;
    }
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof local;
    if (listener == INVALID_SOCKET || bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        listen(listener, 8) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        return 1;
    }
    std::printf("listening on http://127.0.0.1:%d\n", ntohs(local.sin_port));
    std::fflush(stdout);
    while (true) {
        const SOCKET client = accept(listener, nullptr, nullptr);
        if (client == INVALID_SOCKET) {
            return 0;
        }
        std::thread(Trickle, client).detach();
    }
}
