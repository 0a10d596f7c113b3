// "gsdefs serve" in the Windows build, on Winsock: each connection is answered on a thread of its own, up
// to the worker count, and closed after its one answer. The Linux build serves with cpp-httplib, whose
// Debian package is a Linux library.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <csignal>
#include <iostream>
#include <thread>

#include "main/definition_server.h"

namespace grimsweep {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void OnStopSignal(int) {
    stopRequested = 1;
}

BOOL WINAPI OnConsoleControl(DWORD) {
    stopRequested = 1;
    return TRUE;
}

// Waits up to a quarter second for `s` to become readable, so that a stop request is seen soon even
// when it arrives just before the wait.
bool Readable(SOCKET s) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait = {0, 250000};
    return select(0, &set, nullptr, nullptr, &wait) > 0;
}

// The request head: up to the blank line, the peer's close, the size cap, or the time-out since the
// connection came, however slowly the bytes trickle in.
std::string ReadHead(SOCKET client) {
    std::string head;
    const ULONGLONG deadline = GetTickCount64() + kServeTimeoutSeconds * 1000ULL;
    while (head.size() < kMaxRequestBytes && head.find("\r\n\r\n") == std::string::npos &&
           head.find("\n\n") == std::string::npos && !stopRequested && GetTickCount64() < deadline) {
        if (!Readable(client)) {
            continue;
        }
        char buffer[2048];
        const int got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) {
            break;
        }
        head.append(buffer, static_cast<std::size_t>(got));
    }
    return head;
}

void SendAll(SOCKET client, const std::string& text) {
    std::size_t sent = 0;
    while (sent < text.size()) {
        const int put = send(client, text.data() + sent, static_cast<int>(text.size() - sent), 0);
        if (put <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(put);
    }
}

void Answer(AnswerCache& answers, SOCKET client) {
    // A client that stops reading cannot hold its worker past the time-out.
    const DWORD sendTimeout = kServeTimeoutSeconds * 1000;
    setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendTimeout),
               sizeof sendTimeout);
    const auto target = RequestTarget(ReadHead(client));
    const PageAnswer answer = target ? answers.Answer(*target) : PageAnswer{400, "Bad request\n"};
    SendAll(client, ResponseText(answer));
    shutdown(client, SD_SEND);
}

int Serve(const ServiceFolder& folder, const std::string& address, int port) {
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<unsigned short>(port));
    if (inet_pton(AF_INET, address.c_str(), &local.sin_addr) != 1) {
        std::cerr << "gsdefs: not an IPv4 address: " << address << "\n";
        return 2;
    }
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) {
        std::cerr << "gsdefs: cannot open a socket\n";
        return 2;
    }
    int length = sizeof local;
    if (bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        listen(listener, SOMAXCONN) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        std::cerr << "gsdefs: cannot listen on " << address << ":" << port << "\n";
        closesocket(listener);
        return 2;
    }
    std::cout << "listening on http://" << address << ":" << ntohs(local.sin_port) << std::endl;
    AnswerCache answers(folder);
    std::atomic<int> workers = 0;
    while (!stopRequested) {
        if (workers >= kServeWorkers || !Readable(listener)) {
            Sleep(workers >= kServeWorkers ? 10 : 0);
            continue;
        }
        const SOCKET client = accept(listener, nullptr, nullptr);
        if (client == INVALID_SOCKET) {
            continue;
        }
        ++workers;
        std::thread([&answers, &workers, client] {
            Answer(answers, client);
            closesocket(client);
            --workers;
        }).detach();
    }
    closesocket(listener);
    while (workers > 0) {
        Sleep(10);
    }
    return 0;
}

} // namespace

int ServeDefinitions(const ServiceFolder& folder, const std::string& address, int port) {
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        std::cerr << "gsdefs: Winsock is not available\n";
        return 2;
    }
    const int code = Serve(folder, address, port);
    WSACleanup();
    return code;
}

} // namespace grimsweep
