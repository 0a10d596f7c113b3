// The real WinINet fetch against a server of the test's own on loopback that answers as a broken or slow
// service would: only a whole 200 answer is a body; a cut, an error status, a silent or a trickling server
// is a failed fetch, within the time limits.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "platform/win32/win32_http.h"

namespace grimsweep::win32 {
namespace {

// Listens on a free port of 127.0.0.1 and answers each connection with `respond` on a thread of its own.
class ScriptedServer {
public:
    explicit ScriptedServer(std::function<void(SOCKET)> respond) : respond_(std::move(respond)) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in local = {};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof local;
        bind(listener_, reinterpret_cast<sockaddr*>(&local), sizeof local);
        listen(listener_, 4);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&local), &length);
        port_ = ntohs(local.sin_port);
        thread_ = std::thread([this] {
            while (!stop_) {
                const SOCKET client = accept(listener_, nullptr, nullptr);
                if (client == INVALID_SOCKET) {
                    return;
                }
                char head[4096];
                recv(client, head, sizeof head, 0);
                respond_(client);
                closesocket(client);
            }
        });
    }
    ~ScriptedServer() {
        stop_ = true;
        closesocket(listener_);
        thread_.join();
        WSACleanup();
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/page"; }
    bool Stopping() const { return stop_; }

private:
    std::function<void(SOCKET)> respond_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

void Send(SOCKET client, const std::string& text) {
    send(client, text.data(), static_cast<int>(text.size()), 0);
}

constexpr HttpLimits kShortLimits{2000, 1000, 2500};

TEST(Win32Http, OnlyAWholeOkAnswerIsABodyAndSlowServersEndWithinTheLimits) {
    std::atomic<bool> done{false};
    const struct {
        const char* name;
        std::function<void(SOCKET)> respond;
        std::optional<std::string> body;
    } cases[] = {
        {"whole",
         [](SOCKET c) { Send(c, "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nConnection: close\r\n\r\nhello"); },
         "hello"},
        {"no length", [](SOCKET c) { Send(c, "HTTP/1.0 200 OK\r\n\r\nto the end"); }, "to the end"},
        {"not found",
         [](SOCKET c) {
             Send(c, "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\nnot found");
         },
         std::nullopt},
        {"cut",
         [](SOCKET c) {
             Send(c, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\nonly this");
         },
         std::nullopt},
        {"silent",
         [&done](SOCKET) {
             for (int i = 0; i < 100 && !done; ++i) {
                 Sleep(100);
             }
         },
         std::nullopt},
        {"trickling",
         [&done](SOCKET c) {
             Send(c, "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nConnection: close\r\n\r\n");
             for (int i = 0; i < 1000 && !done; ++i) {
                 Send(c, "x");
                 Sleep(100);
             }
         },
         std::nullopt},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        done = false;
        ScriptedServer server(row.respond);
        Win32Http http(kShortLimits);
        const ULONGLONG started = GetTickCount64();
        const auto body = http.Get(server.Url(), 256, nullptr);
        const ULONGLONG elapsed = GetTickCount64() - started;
        done = true;
        EXPECT_EQ(body, row.body);
        // Whole answer limit plus one receive limit, with room for a slow machine.
        EXPECT_LT(elapsed, 8000u) << "the fetch outlived its limits";
    }
}

} // namespace
} // namespace grimsweep::win32
