#include "main/definition_server.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string_view>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include "common/percent_encoding.h"
#include "common/text.h"
#include "report/submission_payload.h"

namespace grimsweep {

namespace {

#ifdef _WIN32
using Socket = SOCKET;
constexpr Socket kNoSocket = INVALID_SOCKET;
void CloseSocket(Socket s) {
    closesocket(s);
}
#else
using Socket = int;
constexpr Socket kNoSocket = -1;
void CloseSocket(Socket s) {
    close(s);
}
#endif

volatile std::sig_atomic_t stopRequested = 0;

void OnStopSignal(int) {
    stopRequested = 1;
}

#ifdef _WIN32
BOOL WINAPI OnConsoleControl(DWORD) {
    stopRequested = 1;
    return TRUE;
}
#endif

void WatchStopRequests() {
#ifdef _WIN32
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
#else
    // No SA_RESTART: a blocked call returns at once with EINTR.
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
#endif
}

// Waits up to a quarter second for `s` to become readable, so that a stop request is seen soon even
// when it arrives just before the wait.
bool Readable(Socket s) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait = {0, 250000};
    return select(static_cast<int>(s) + 1, &set, nullptr, nullptr, &wait) > 0;
}

// The request head: up to the blank line, the peer's close, five seconds of silence or the size cap.
std::string ReadHead(Socket client) {
    std::string head;
    int idleWaits = 0;
    while (head.size() < kMaxRequestBytes && head.find("\r\n\r\n") == std::string::npos &&
           head.find("\n\n") == std::string::npos && !stopRequested) {
        if (!Readable(client)) {
            if (++idleWaits >= 20) {
                break;
            }
            continue;
        }
        char buffer[2048];
        const auto got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) {
            break;
        }
        head.append(buffer, static_cast<std::size_t>(got));
    }
    return head;
}

void SendAll(Socket client, const std::string& text) {
    std::size_t sent = 0;
    while (sent < text.size()) {
#ifdef _WIN32
        const int put = send(client, text.data() + sent, static_cast<int>(text.size() - sent), 0);
#else
        const auto put = send(client, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
#endif
        if (put <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(put);
    }
}

// Whether every query value of `target` percent-decodes and a collection payload splits back into
// names; the pages are answered only then.
bool QueryReadable(std::string_view target) {
    const std::size_t question = target.find('?');
    if (question == std::string_view::npos) {
        return true;
    }
    const bool collection = EqualsIgnoreCase(target.substr(0, question), kDataPage);
    for (const std::string& pair : Split(target.substr(question + 1), "&")) {
        const std::size_t equals = pair.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const auto value = PercentDecode(std::string_view(pair).substr(equals + 1));
        if (!value) {
            return false;
        }
        if (collection && EqualsIgnoreCase(pair.substr(0, equals), "data") &&
            !SplitSubmissionPayload(*value)) {
            return false;
        }
    }
    return true;
}

void Answer(const ServiceFolder& folder, Socket client) {
    const std::string head = ReadHead(client);
    const auto target = RequestTarget(head);
    PageAnswer answer{400, "Bad request\n"};
    if (target && QueryReadable(*target)) {
        answer = AnswerPage(folder, *target);
    }
    SendAll(client, ResponseText(answer));
#ifdef _WIN32
    shutdown(client, SD_SEND);
#else
    shutdown(client, SHUT_WR);
#endif
}

int Serve(const ServiceFolder& folder, const std::string& address, int port) {
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<unsigned short>(port));
    if (inet_pton(AF_INET, address.c_str(), &local.sin_addr) != 1) {
        std::cerr << "gsdefs: not an IPv4 address: " << address << "\n";
        return 2;
    }
    const Socket listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == kNoSocket) {
        std::cerr << "gsdefs: cannot open a socket\n";
        return 2;
    }
#ifndef _WIN32
    const int reuse = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
#endif
    socklen_t length = sizeof local;
    if (bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 || listen(listener, 8) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        std::cerr << "gsdefs: cannot listen on " << address << ":" << port << "\n";
        CloseSocket(listener);
        return 2;
    }
    std::cout << "listening on http://" << address << ":" << ntohs(local.sin_port) << std::endl;
    while (!stopRequested) {
        if (!Readable(listener)) {
            continue;
        }
        const Socket client = accept(listener, nullptr, nullptr);
        if (client == kNoSocket) {
            continue;
        }
        Answer(folder, client);
        CloseSocket(client);
    }
    CloseSocket(listener);
    return 0;
}

} // namespace

int ServeDefinitions(const ServiceFolder& folder, const std::string& address, int port) {
    WatchStopRequests();
#ifdef _WIN32
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        std::cerr << "gsdefs: Winsock is not available\n";
        return 2;
    }
    const int code = Serve(folder, address, port);
    WSACleanup();
    return code;
#else
    return Serve(folder, address, port);
#endif
}

} // namespace grimsweep
